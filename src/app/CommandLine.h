// The book named on the command line: the first argument that is not an option.
#pragma once

#include <QString>
#include <QStringList>

// `arguments` as QCoreApplication::arguments() gives them (the program first, Qt's own
// options already taken out). Empty when no book is named; "--" ends the options.
QString BookPathFromArguments(const QStringList& arguments);
