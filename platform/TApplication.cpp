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
    mainForm_.reset(); // while the toolkit still runs
}

void TApplication::Initialize() {
    // The toolkit's own texts (edit menus, message-box buttons, file errors) in German: installed ones,
    // else those the program carries in ":/translations" (a static build has no translations folder).
    auto* translator = new QTranslator(this);
    const QLocale german(QLocale::German, QLocale::Germany);
    for (const QString& folder :
         {QLibraryInfo::path(QLibraryInfo::TranslationsPath), QStringLiteral(":/translations")})
        if (translator->load(german, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
            installTranslator(translator);
            break;
        }
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
    const int status = exec();
    EndAsSignalled(); // asked to end by a signal: saved by now, it ends by that signal
    return status;
}

bool TApplication::notify(QObject* Receiver, QEvent* Event) {
    try {
        return QApplication::notify(Receiver, Event);
    } catch (...) {
        ShowCurrentException();
        return false;
    }
}
