// CToolbarIconEngine: draws the toolbar button of a command with QPainter at whatever pixel
// size is asked for, so the 17x16 buttons stay sharp on screens of any pixel density.
#pragma once

#include <QIcon>
#include <QIconEngine>

class CToolbarIconEngine : public QIconEngine {
public:
    explicit CToolbarIconEngine(int commandId);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    // Starts from a transparent pixmap; the base class leaves its pixels undefined.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;

    // The button's logical size.
    static constexpr int kWidth = 17;
    static constexpr int kHeight = 16;

private:
    int m_commandId;
};

// The icon of a toolbar button.
QIcon ToolbarIcon(int commandId);
