// Which argument names the book to open at start-up.
#include "app/CommandLine.h"

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
}

TEST(BookPathFromArguments, DoubleDashLetsABookNameStartWithADash) {
    EXPECT_EQ(BookPathFromArguments({"tavimo", "--", "-odd.zip"}), "-odd.zip");
}
