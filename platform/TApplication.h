#pragma once

#include "platform/TForm.h"

#include <QApplication>
#include <QPointer>
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
    // before is destroyed first (without closing it). Reference becomes null when the form goes.
    template <typename Form> void CreateForm(QPointer<Form>& Reference) {
        mainForm_.reset();
        mainForm_ = std::make_unique<Form>();
        Reference = static_cast<Form*>(mainForm_.get());
        RunCreationHandler();
    }

    // Shows the main form and runs the loop until it closes; ends at once, unsuccessfully, when the form's
    // creation handler failed. Being asked to end (a signal, the end of the session) closes the form; asked
    // by a signal, the process then ends by that signal.
    int Run();

    bool notify(QObject* Receiver, QEvent* Event) override;

private:
    void RunCreationHandler();

    std::unique_ptr<TForm> mainForm_;
};
