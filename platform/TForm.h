#pragma once

#include "platform/ErrorHandler.h"

#include <QHash>
#include <QSet>
#include <QWidget>

// What a close handler decides: the window closes (caFree) or stays open (caNone).
enum class TCloseAction { caNone, caFree };

// A top-level window built from a layout, with its controls findable by name.
// Widths and heights are outer sizes, frame included: the client area is smaller by a fixed frame
// allowance, whatever frame the window system draws.
class TForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int FrameWidth = 8;
    static constexpr int FrameHeight = 31;

    // The control of that name, or nullptr; constant time.
    QObject* FindComponent(const QString& Name) const;

    int Width() const { return width() + FrameWidth; }
    int Height() const { return height() + FrameHeight; }
    // Kept within the size limits.
    void SetWidth(int Value);

    int MinWidth() const { return minimumWidth() + FrameWidth; }
    int MaxWidth() const { return maximumWidth() + FrameWidth; }
    int MinHeight() const { return minimumHeight() + FrameHeight; }
    int MaxHeight() const { return maximumHeight() + FrameHeight; }

    // Connects the handlers, then runs the creation handler. From here on every change of a check
    // box, by the user or by the program, runs its handler before the change returns.
    void Create();
    // Whether the creation handler ran to its end.
    bool Created() const { return created_; }

protected:
    TForm();
    // Call once the layout has built every control.
    void IndexComponents();
    // The form's font at that height, its width scaled by Stretch percent, hinted vertically only.
    void SetFontSize(int Pixels, int Stretch);

    // Connects the signal to a handler. An error leaving the handler is reported right there, so that
    // it never unwinds through the toolkit's event delivery.
    template <typename Sender, typename Signal, typename Handler>
    void Bind(Sender* Source, Signal Event, Handler Run) {
        connect(Source, Event, this, [Run = std::move(Run)] {
            try {
                Run();
            } catch (...) {
                ShowCurrentException();
            }
        });
    }

    virtual void BindHandlers() {}
    virtual void DoCreate() {}
    // Runs on every close of the window, however caused, before it closes; not after a creation
    // handler that failed, whose form is only half set up.
    virtual void DoClose(TCloseAction& Action) { Q_UNUSED(Action); }

    void closeEvent(QCloseEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;

private:
    // A control the client area does not show at all is hidden while it is out of view, so that it
    // takes no focus and assistive technology does not report it as showing.
    void HideControlsOutOfView();

    QHash<QString, QObject*> components_;
    QSet<QWidget*> outOfView_;
    bool created_ = false;
};
