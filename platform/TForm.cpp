#include "platform/TForm.h"

#include "platform/ErrorHandler.h"

#include <QCloseEvent>

TForm::TForm()
    : QWidget(nullptr) {}

void TForm::IndexComponents() {
    components_.clear();
    for (QObject* child : findChildren<QObject*>(Qt::FindDirectChildrenOnly))
        if (!child->objectName().isEmpty())
            components_.insert(child->objectName(), child);
}

QObject* TForm::FindComponent(const QString& Name) const {
    return components_.value(Name);
}

void TForm::SetWidth(int Value) {
    const int client = std::clamp(Value - FrameWidth, minimumWidth(), maximumWidth());
    resize(client, height());
    HideControlsOutOfView(); // a window not shown yet gets its resize event only when shown
}

void TForm::resizeEvent(QResizeEvent* Event) {
    QWidget::resizeEvent(Event);
    HideControlsOutOfView();
}

void TForm::HideControlsOutOfView() {
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const bool inView = rect().intersects(control->geometry());
        if (!inView && !control->isHidden()) {
            outOfView_.insert(control);
            control->hide();
        } else if (inView && outOfView_.remove(control)) {
            control->show();
        }
    }
}

void TForm::SetFontSize(int Pixels, int Stretch) {
    QFont f = font();
    f.setPixelSize(Pixels);
    f.setStretch(Stretch);
    // Hinted only vertically: fully hinted, small text of some fonts runs letters together (Wine's
    // "MS Sans Serif" at 11 pixels draws "hl" as "N" and "cl" as "d").
    f.setHintingPreference(QFont::PreferVerticalHinting);
    setFont(f);
}

void TForm::Create() {
    BindHandlers();
    DoCreate();
    created_ = true;
}

void TForm::closeEvent(QCloseEvent* Event) {
    TCloseAction action = TCloseAction::caFree;
    try {
        if (created_)
            DoClose(action);
    } catch (...) {
        // The window still closes: an error while closing must not trap the user.
        ShowCurrentException();
    }
    if (action == TCloseAction::caNone)
        Event->ignore();
    else
        Event->accept();
}
