// Commands: the command table (ids, names, texts, states, handlers), the accelerator table
// and the toolbar's button order, each as data in one place.
#pragma once

#include "view/CommandIds.h"

#include <QKeyCombination>
#include <QKeySequence>
#include <QList>
#include <QString>
#include <span>

class CCommandTarget;

// The class library's standard edit and pane commands: accelerators lead to them and
// nothing handles them, so their keys do nothing (and never reach the view).
enum StandardCommandId : int {
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
};

using CommandHandler = void (*)(CCommandTarget& target);
using CommandPredicate = bool (*)(const CCommandTarget& target);

struct CommandInfo {
    int id;
    const char* name;
    const char* text;           // "status text\ntool tip" (UTF-8), or nullptr when it has none
    CommandPredicate isEnabled; // nullptr: always enabled
    CommandPredicate isChecked; // nullptr: the command carries no check mark
    CommandHandler handler;     // nullptr: nothing handles it
};

struct Accelerator {
    QKeyCombination key;
    int id;
};

std::span<const CommandInfo> CommandTable();
std::span<const Accelerator> AcceleratorTable();
// The toolbar's buttons in order; kToolbarSeparator marks a separator.
inline constexpr int kToolbarSeparator = 0;
std::span<const int> ToolbarLayout();

const CommandInfo* FindCommand(int id);
bool IsCheckable(const CommandInfo& command);
bool IsCommandEnabled(const CommandInfo& command, const CCommandTarget& target);
bool IsCommandChecked(const CommandInfo& command, const CCommandTarget& target);
// The text before the line break (the status bar's fly-by text) and after it (the tool tip).
QString StatusText(const CommandInfo& command);
QString ToolTipText(const CommandInfo& command);
QList<QKeySequence> ShortcutsFor(int id);
