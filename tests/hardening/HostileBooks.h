// The table of hostile books: pictures that lie, end early or ask for too much, each in a
// folder, a ZIP and a PCO book, and archives whose own records are damaged, with what the
// view must do with each.
#pragma once

#include <QString>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace hostile {

enum class Container { Folder, Zip, Pco };
enum class Page { Shown, Fails }; // Shown: the picture, or the part of it that decodes

struct HostileBook {
    std::string name;
    Container container;
    // Writes the book into the (existing) folder and returns the path to open.
    std::function<std::string(const std::string& folder)> write;
    // The message the opening shows when the book is refused; empty when it opens.
    QString refusal;
    // What each page of an opened book does, in page order.
    std::vector<Page> pages;
};

std::vector<HostileBook> HostileBooks();

inline void PrintTo(const HostileBook& book, std::ostream* out)
{
    *out << book.name;
}

} // namespace hostile
