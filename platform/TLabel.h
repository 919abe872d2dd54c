#pragma once

#include <QLabel>

// A label that reports a click of the left mouse button.
class TLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // As a click of the left mouse button: for the keyboard and assistive technology.
    void Click() { emit clicked(); }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* Event) override;
};
