#include "platform/TApplication.h"

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
    if (mainForm_)
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
