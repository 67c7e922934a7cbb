// The command line: one parser describes the options and the BOOK argument for the help
// text, the information requests and the book path alike.
#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace {

// The program's options, registered on a parser.
struct TavimoOptions {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this help and exit.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Show the program's version and exit.")};
    QCommandLineParser parser;

    TavimoOptions() {
        parser.setApplicationDescription(QStringLiteral(
            "Tavimo pages through scanned books and comics: the pictures of a folder, a ZIP "
            "archive or a PCO book.\nQt's own options (-platform, -style, ...) are accepted too."));
        // "-platform" is one of Qt's options, not eight single-letter ones.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOption(help);
        parser.addOption(version);
        parser.addPositionalArgument(QStringLiteral("BOOK"),
                                     QStringLiteral("a folder, a .zip or .cbz archive or a .pco book"),
                                     QStringLiteral("[BOOK]"));
    }

    // Unknown options are left in place: they are Qt's or are ignored like any stray flag.
    void Parse(const QStringList& arguments) {
        if (!arguments.isEmpty())
            parser.parse(arguments);
    }
};

} // namespace

CommandLineRequest RequestFromArguments(const QStringList& arguments) {
    TavimoOptions options;
    options.Parse(arguments);
    if (options.parser.isSet(options.help))
        return CommandLineRequest::ShowHelp;
    if (options.parser.isSet(options.version))
        return CommandLineRequest::ShowVersion;
    return CommandLineRequest::StartViewer;
}

QString HelpText() {
    return TavimoOptions().parser.helpText();
}

QString VersionText() {
    return QStringLiteral("Tavimo " TAVIMO_VERSION);
}

std::optional<int> AnswerInformationRequest(int& argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLineRequest request = RequestFromArguments(arguments);
    if (request == CommandLineRequest::StartViewer)
        return std::nullopt;
    // A core application gives the help text the program's name; it opens no display.
    const QCoreApplication core(argc, argv);
    const QString text = request == CommandLineRequest::ShowHelp ? HelpText() : VersionText() + u'\n';
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

QString BookPathFromArguments(const QStringList& arguments) {
    TavimoOptions options;
    options.Parse(arguments);
    return options.parser.positionalArguments().value(0);
}

std::string BookPathBytesFromArguments(int argc, const char* const* argv) {
    // Latin-1 maps each byte to one character and back: the options are ASCII, and the book
    // comes back in the bytes it was given.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLatin1(argv[i]);
    return BookPathFromArguments(arguments).toLatin1().toStdString();
}
