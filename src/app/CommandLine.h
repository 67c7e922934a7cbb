// The command line: the --help and --version answers, given before any window or display
// connection exists, and the book to open at start-up.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

// What the command line asks of the program before its windows start.
enum class CommandLineRequest { StartViewer, ShowHelp, ShowVersion };

// `arguments` as main() receives them (the program first). Qt's own options (-platform,
// -style, ...) are still in and belong to the application object, so an option unknown
// here is no error. Help wins over version; both win over a book.
CommandLineRequest RequestFromArguments(const QStringList& arguments);

// The usage line (naming the program as the running QCoreApplication was started), the
// options and the BOOK argument.
QString HelpText();
// "Tavimo" and the project's version.
QString VersionText();

// Prints the help or the version on stdout when `argv` asks for one of them and returns
// the exit code; std::nullopt when the viewer should start. Needs no display.
std::optional<int> AnswerInformationRequest(int& argc, char** argv);

// `arguments` as QCoreApplication::arguments() gives them (the program first, Qt's own
// options already taken out). Empty when no book is named; "--" ends the options.
QString BookPathFromArguments(const QStringList& arguments);

// The same book as the file system names it: the bytes of the argument the parser picked,
// so that a name that is not UTF-8 (an old CP949 name) still opens. `argv` as it stands
// after the application object took out Qt's own options.
std::string BookPathBytesFromArguments(int argc, const char* const* argv);
