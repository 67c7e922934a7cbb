// What the command line asks for: help and version before any window, else the book to
// open at start-up.
#include "app/CommandLine.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

TEST(BookPathFromArguments, NoArgumentOpensNothing) {
    EXPECT_TRUE(BookPathFromArguments({"tavimo"}).isEmpty());
    EXPECT_TRUE(BookPathFromArguments({}).isEmpty());
}

TEST(BookPathFromArguments, FirstPlainArgumentIsTheBook) {
    EXPECT_EQ(BookPathFromArguments({"tavimo", "/books/a b.zip", "/books/other"}), "/books/a b.zip");
}

TEST(BookPathFromArguments, OptionsAreNotMistakenForTheBook) {
    EXPECT_EQ(BookPathFromArguments({"tavimo", "--verbose", "book.pco"}), "book.pco");
    EXPECT_EQ(BookPathFromArguments({"tavimo", "-x", "--other=1", "book.pco"}), "book.pco");
}

TEST(BookPathFromArguments, DoubleDashLetsABookNameStartWithADash) {
    EXPECT_EQ(BookPathFromArguments({"tavimo", "--", "-odd.zip"}), "-odd.zip");
}

TEST(BookPathFromArguments, KoreanNamesSurviveUnchanged) {
    EXPECT_EQ(BookPathFromArguments({"tavimo", "/책/만화 1권.zip"}), "/책/만화 1권.zip");
}

TEST(RequestFromArguments, PlainStartOrABookStartsTheViewer) {
    EXPECT_EQ(RequestFromArguments({"tavimo"}), CommandLineRequest::StartViewer);
    EXPECT_EQ(RequestFromArguments({"tavimo", "/books/a.zip"}), CommandLineRequest::StartViewer);
    EXPECT_EQ(RequestFromArguments({}), CommandLineRequest::StartViewer);
}

TEST(RequestFromArguments, LongAndShortHelpAskForHelp) {
    EXPECT_EQ(RequestFromArguments({"tavimo", "--help"}), CommandLineRequest::ShowHelp);
    EXPECT_EQ(RequestFromArguments({"tavimo", "-h"}), CommandLineRequest::ShowHelp);
    EXPECT_EQ(RequestFromArguments({"tavimo", "/books/a.zip", "--help"}), CommandLineRequest::ShowHelp);
}

TEST(RequestFromArguments, LongAndShortVersionAskForTheVersion) {
    EXPECT_EQ(RequestFromArguments({"tavimo", "--version"}), CommandLineRequest::ShowVersion);
    EXPECT_EQ(RequestFromArguments({"tavimo", "-v"}), CommandLineRequest::ShowVersion);
}

TEST(RequestFromArguments, HelpWinsOverVersion) {
    EXPECT_EQ(RequestFromArguments({"tavimo", "--version", "--help"}), CommandLineRequest::ShowHelp);
}

// Qt's options reach main() untouched: "-platform" must not read as -p -l -a ... nor hide
// the option after it.
TEST(RequestFromArguments, QtOptionsDoNotHideOrFakeARequest) {
    EXPECT_EQ(RequestFromArguments({"tavimo", "-platform", "offscreen", "--version"}),
              CommandLineRequest::ShowVersion);
    EXPECT_EQ(RequestFromArguments({"tavimo", "-style", "fusion", "book.zip"}), CommandLineRequest::StartViewer);
    EXPECT_EQ(RequestFromArguments({"tavimo", "-hv"}), CommandLineRequest::StartViewer);
}

TEST(RequestFromArguments, ABookNamedLikeAnOptionAfterDoubleDashIsABook) {
    EXPECT_EQ(RequestFromArguments({"tavimo", "--", "--help"}), CommandLineRequest::StartViewer);
    EXPECT_EQ(BookPathFromArguments({"tavimo", "--", "--help"}), "--help");
}

TEST(HelpText, DescribesTheBookArgumentAndBothOptions) {
    const QString help = HelpText();
    EXPECT_TRUE(help.contains("[BOOK]")) << help.toStdString();
    EXPECT_TRUE(help.contains("a folder, a .zip or .cbz archive or a .pco book")) << help.toStdString();
    EXPECT_TRUE(help.contains("--help")) << help.toStdString();
    EXPECT_TRUE(help.contains("--version")) << help.toStdString();
}

TEST(VersionText, NamesTheProductAndAFourPartVersion) {
    EXPECT_TRUE(QRegularExpression("^Tavimo \\d+\\.\\d+\\.\\d+\\.\\d+$").match(VersionText()).hasMatch())
        << VersionText().toStdString();
}
