#include "platform/EndOfSession.h"
#include "platform/EndOfSession_system.h"

#include <QGuiApplication>
#include <QSessionManager>

void OnEndOfSession(QObject* Context, std::function<void()> Handler) {
    OnEndSignals(Context, Handler);
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, Context,
                     [Handler](QSessionManager&) { Handler(); });
}
