// Works a modal dialog from inside the call that opens it, as a person at the keyboard would.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

namespace fixtures {

// Runs `open`, which shows a modal Dialog and returns when it closes, and hands the dialog to
// `answer` once it shows. A dialog the answer leaves open is rejected after five seconds, so a
// wrong answer fails its test instead of hanging it. Returns whether the dialog showed.
template <typename Dialog>
bool RunAnsweringModal(const std::function<void()>& open, const std::function<void(Dialog&)>& answer) {
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            poll.stop();
            seen = true;
            QTimer::singleShot(5000, dialog, &QDialog::reject);
            answer(*dialog);
        }
    });
    poll.start(10);
    open();
    return seen;
}

} // namespace fixtures
