#include "platform/Accessible.h"

#include "platform/TForm.h"
#include "platform/TLabel.h"

#include <QAccessibleWidget>

namespace {
class LinkAccessible : public QAccessibleWidget {
public:
    explicit LinkAccessible(TLabel* Label)
        : QAccessibleWidget(Label, QAccessible::Link) {}

    QString text(QAccessible::Text Kind) const override {
        if (Kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return Label()->text();
        return QAccessibleWidget::text(Kind);
    }

    QStringList actionNames() const override { return QAccessibleWidget::actionNames() << pressAction(); }

    void doAction(const QString& Name) override {
        if (Name == pressAction())
            Label()->Click();
        else
            QAccessibleWidget::doAction(Name);
    }

private:
    TLabel* Label() const { return static_cast<TLabel*>(widget()); }
};

QAccessibleInterface* Interface(const QString& ClassName, QObject* Object) {
    if (auto* label = qobject_cast<TLabel*>(Object); label && ClassName == u"TLabel")
        return new LinkAccessible(label);
    if (auto* form = qobject_cast<TForm*>(Object); form && form->isWindow())
        return new QAccessibleWidget(form, QAccessible::Window);
    return nullptr;
}
} // namespace

void InstallAccessibleInterfaces() {
    QAccessible::installFactory(Interface);
}
