#pragma once

#include <QLabel>

// A label that reports a click of the left mouse button.
class TLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* Event) override;
};
