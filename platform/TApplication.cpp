#include "platform/TApplication.h"

#include "platform/Accessible.h"
#include "platform/EndOfSession.h"
#include "platform/ErrorHandler.h"

#include <QLibraryInfo>
#include <QStyleFactory>
#include <QTranslator>

namespace {
int argumentCount = 1;
char programName[] = "zadrin";
char* argumentValues[] = {programName, nullptr};
} // namespace

TApplication::TApplication()
    : QApplication(argumentCount, argumentValues) {}

TApplication::~TApplication() {
    DestroyForm();
}

void TApplication::Initialize() {
    // The toolkit's own texts (edit menus, file errors) in German, where the translations are installed.
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
    // The same look and metrics on every desktop: the layout is fixed to the pixel.
    setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    InstallAccessibleInterfaces();
}

void TApplication::RunCreationHandler() {
    try {
        mainForm_->Create();
    } catch (...) {
        ShowCurrentException();
    }
}

void TApplication::DestroyForm() {
    mainForm_.reset();
    if (forget_)
        forget_();
    forget_ = nullptr;
}

int TApplication::Run() {
    // A form whose creation failed is only half set up: after the message, the program ends.
    if (!mainForm_ || !mainForm_->Created())
        return EXIT_FAILURE;
    // Asked to end, the program closes its window as the user would, so the close handler runs once.
    OnEndOfSession(this, [this] {
        if (mainForm_ && mainForm_->isVisible())
            mainForm_->close();
    });
    mainForm_->show();
    return exec();
}

bool TApplication::notify(QObject* Receiver, QEvent* Event) {
    try {
        return QApplication::notify(Receiver, Event);
    } catch (...) {
        ShowCurrentException();
        return false;
    }
}
