// An exception that leaves a handler is shown by the top-level handler, and the program goes on.
#include "TestMain.h"
#include "platform/Exception.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QTimer>

namespace {
class ClosingFails : public TForm {
public:
    int closes = 0;

protected:
    void DoClose(TCloseAction&) override {
        ++closes;
        throw Exception(QStringLiteral("Speichern fehlgeschlagen"));
    }
};
class CreationFails : public TForm {
public:
    int closes = 0;

protected:
    void DoCreate() override {
        throw Exception(QStringLiteral("Der Zufallsgenerator konnte nicht gestartet werden."));
    }
    void DoClose(TCloseAction&) override { ++closes; }
};
} // namespace

class TestErrorHandler : public QObject {
    Q_OBJECT
private slots:
    void messageOfEachKindOfError_data() {
        QTest::addColumn<std::function<void()>>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("program's own")
            << std::function<void()>([] { throw EConvertError("„x“ ist falsch."); }) << "„x“ ist falsch.";
        QTest::newRow("out of memory")
            << std::function<void()>([] { throw std::bad_alloc(); })
            << "Nicht genug Arbeitsspeicher: Der Vorgang wurde abgebrochen, nichts "
               "wurde geändert.";
        QTest::newRow("library") << std::function<void()>([] { throw std::runtime_error("kaputt"); })
                                 << "kaputt";
        QTest::newRow("anything else") << std::function<void()>([] { throw 42; }) << "Unbekannter Fehler.";
    }

    void messageOfEachKindOfError() {
        QFETCH(std::function<void()>, fault);
        QFETCH(QString, message);
        ReportedErrors errors;
        QPushButton button;
        int clicks = 0;
        connect(&button, &QPushButton::clicked, this, [&] {
            ++clicks;
            fault();
        });
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QCOMPARE(errors.messages, QStringList({message, message}));
    }

    void theLoopGoesOn() {
        ReportedErrors errors;
        bool reachedAfterError = false;
        QTimer::singleShot(0, this, [] { throw Exception(QStringLiteral("erster Fehler")); });
        QTimer::singleShot(10, this, [&] {
            reachedAfterError = true;
            qApp->quit();
        });
        qApp->exec();
        QVERIFY(reachedAfterError);
        QCOMPARE(errors.messages, QStringList{QStringLiteral("erster Fehler")});
    }

    void aFormWhoseCreationFailedSavesNothingAndDoesNotRun() {
        ReportedErrors errors;
        auto* application = static_cast<TApplication*>(qApp);
        QPointer<CreationFails> form;
        application->CreateForm(form);
        QCOMPARE(errors.messages, QStringList{"Der Zufallsgenerator konnte nicht gestartet werden."});
        QVERIFY(!form->Created());
        QCOMPARE(application->Run(), EXIT_FAILURE); // returns at once, the window never shown
        QVERIFY(!form->isVisible());
        QVERIFY(form->close());
        QCOMPARE(form->closes, 0);
        QPointer<ClosingFails> next;
        application->CreateForm(next); // replaces the form: the old reference does not dangle
        QVERIFY(form.isNull());
        QVERIFY(!next.isNull());
    }

    void theToolkitsOwnTextsAreGerman() {
        // The message box's button and the edit menus; also where no translations are installed.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
        QCOMPARE(QCoreApplication::translate("QWidgetTextControl", "&Copy"), QStringLiteral("&Kopieren"));
    }

    void anErrorWhileClosingIsShownAndTheWindowStillCloses() {
        ReportedErrors errors;
        ClosingFails form;
        form.Create();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.close());
        QCOMPARE(form.closes, 1);
        QVERIFY(!form.isVisible());
        QCOMPARE(errors.messages, QStringList{QStringLiteral("Speichern fehlgeschlagen")});
    }
};

ZADRIN_TEST_MAIN(TestErrorHandler)
#include "tst_errorhandler.moc"
