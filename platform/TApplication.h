#pragma once

#include "platform/TForm.h"

#include <QApplication>
#include <functional>
#include <memory>

// The application object: starts the toolkit, owns the main form and runs the event loop.
// An exception that leaves an event handler is shown by the top-level error handler and the loop
// goes on.
class TApplication : public QApplication {
    Q_OBJECT
public:
    // Reads no command line: the toolkit gets only the program name.
    TApplication();
    ~TApplication() override;

    // The toolkit's own texts in German, the same style on every desktop, and what assistive technology
    // is told of the layer's own controls.
    void Initialize();

    // Builds the form, points Reference at it, then runs its creation handler. A form created
    // before is destroyed first (without closing it).
    template <typename Form> void CreateForm(Form*& Reference) {
        DestroyForm();
        auto form = std::make_unique<Form>();
        Reference = form.get();
        forget_ = [&Reference] { Reference = nullptr; };
        mainForm_ = std::move(form);
        RunCreationHandler();
    }

    // Shows the main form and runs the loop until it closes; ends at once, unsuccessfully, when the form's
    // creation handler failed. Being asked to end (a signal, the end of the session) closes the form.
    int Run();

    bool notify(QObject* Receiver, QEvent* Event) override;

private:
    void RunCreationHandler();
    void DestroyForm();

    std::unique_ptr<TForm> mainForm_;
    std::function<void()> forget_;
};
