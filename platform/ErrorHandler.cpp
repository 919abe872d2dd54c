#include "platform/ErrorHandler.h"

#include "platform/Exception.h"

#include <QApplication>
#include <QMessageBox>
#include <new>

namespace {
ErrorReporter& InstalledReporter() {
    static ErrorReporter reporter;
    return reporter;
}
} // namespace

QString CurrentExceptionMessage() {
    try {
        throw;
    } catch (const Exception& e) {
        return e.Message();
    } catch (const std::bad_alloc&) {
        return QStringLiteral(
            "Nicht genug Arbeitsspeicher: Der Vorgang wurde abgebrochen, nichts wurde geändert.");
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Unbekannter Fehler.");
    }
}

void ShowCurrentException() noexcept {
    try {
        const QString message = CurrentExceptionMessage();
        if (InstalledReporter())
            InstalledReporter()(message);
        else
            QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), message);
    } catch (...) {
        qCritical("Fehler beim Anzeigen einer Fehlermeldung");
    }
}

void SetErrorReporter(ErrorReporter Reporter) {
    InstalledReporter() = std::move(Reporter);
}
