#include "widgets/ToolButton.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace tsb {

namespace {

class TToolButtonAccessible : public QAccessibleWidget {
public:
    explicit TToolButtonAccessible(TToolButton* button)
        : QAccessibleWidget(button,
                            button->isCheckable() ? QAccessible::CheckBox : QAccessible::Button) {}

    QAccessible::Role role() const override {
        return Button()->isCheckable() ? QAccessible::CheckBox : QAccessible::Button;
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = Button()->isCheckable();
        s.checked = Button()->isChecked();
        s.pressed = Button()->isDown();
        return s;
    }

    QString text(QAccessible::Text t) const override {
        QString value = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && value.isEmpty()) {
            value = Button()->text();
            value.remove('&');
            if (value.isEmpty()) value = Button()->toolTip();
        }
        return value;
    }

    QStringList actionNames() const override {
        QStringList names{pressAction()};
        if (Button()->isCheckable()) names << toggleAction();
        return names;
    }

    // The click comes from the event loop, as a user's does, so a handler
    // that opens a dialog does not hold up the screen reader's request.
    void doAction(const QString& name) override {
        if (!Button()->isEnabled()) return;
        if (name == pressAction() || name == toggleAction()) Button()->animateClick();
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    TToolButton* Button() const { return static_cast<TToolButton*>(widget()); }
};

QAccessibleInterface* ToolButtonFactory(const QString&, QObject* object) {
    if (auto* button = dynamic_cast<TToolButton*>(object)) return new TToolButtonAccessible(button);
    return nullptr;
}

} // namespace

TToolButton::TToolButton(QWidget* parent) : QToolButton(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(ToolButtonFactory);
        return true;
    }();
    (void)installed;
}

} // namespace tsb
