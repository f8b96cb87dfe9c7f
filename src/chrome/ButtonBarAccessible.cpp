#include "chrome/ButtonBarAccessible.h"

#include <QAccessibleWidget>
#include <QPointer>

#include <vector>

#include "chrome/CButtonBar.h"

namespace etiqo {
namespace {

// One drawn button: named by its tooltip text, placed at its press area, pressed by its action.
class ButtonAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ButtonAccessible(CButtonBar* bar, int button) : m_bar(bar), m_button(button) {}

    bool isValid() const override { return m_bar != nullptr && m_button < m_bar->ButtonCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_bar ? m_bar->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_bar.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        if (!isValid()) {
            return {};
        }
        switch (t) {
            case QAccessible::Name:
                return m_bar->ButtonName(m_button);
            case QAccessible::Description:
                return m_bar->ButtonToolTip(m_button);
            default:
                return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) {
            return {};
        }
        const QRect area = m_bar->PressArea(m_button);
        return {m_bar->mapToGlobal(area.topLeft()), area.size()};
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.invisible = !m_bar || !m_bar->isVisible();
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid()) {
            m_bar->Trigger(m_button);
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<CButtonBar> m_bar;
    int m_button;
};

// The bar: its drawn buttons first, then its child widgets (the palette's font lists).
class ButtonBarAccessible : public QAccessibleWidget {
public:
    explicit ButtonBarAccessible(CButtonBar* bar) : QAccessibleWidget(bar, QAccessible::ToolBar) {}
    ~ButtonBarAccessible() override {
        for (const QAccessible::Id id : m_ids) {
            if (id != 0) {
                QAccessible::deleteAccessibleInterface(id);
            }
        }
    }

    int childCount() const override { return Bar()->ButtonCount() + QAccessibleWidget::childCount(); }
    QAccessibleInterface* child(int index) const override {
        const int buttons = Bar()->ButtonCount();
        if (index < 0) {
            return nullptr;
        }
        if (index >= buttons) {
            return QAccessibleWidget::child(index - buttons);
        }
        m_ids.resize(static_cast<std::size_t>(buttons), 0);
        QAccessible::Id& id = m_ids[static_cast<std::size_t>(index)];
        if (id == 0) {
            // Registered interfaces belong to Qt's accessibility cache; this bar deletes them when it goes.
            id = QAccessible::registerAccessibleInterface(new ButtonAccessible(Bar(), index));
        }
        return QAccessible::accessibleInterface(id);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < static_cast<int>(m_ids.size()); ++i) {
            if (m_ids[static_cast<std::size_t>(i)] != 0 &&
                QAccessible::accessibleInterface(m_ids[static_cast<std::size_t>(i)]) == child) {
                return i;
            }
        }
        const int widget = QAccessibleWidget::indexOfChild(child);
        return widget < 0 ? -1 : widget + Bar()->ButtonCount();
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const int button = Bar()->ButtonAt(Bar()->mapFromGlobal(QPoint(x, y)));
        return button >= 0 ? child(button) : QAccessibleWidget::childAt(x, y);
    }

private:
    CButtonBar* Bar() const { return static_cast<CButtonBar*>(widget()); }
    mutable std::vector<QAccessible::Id> m_ids;
};

QAccessibleInterface* ButtonBarFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("etiqo::CButtonBar")) {
        if (auto* bar = qobject_cast<CButtonBar*>(object)) {
            return new ButtonBarAccessible(bar);  // owned by Qt's accessibility cache
        }
    }
    return nullptr;
}

}  // namespace

void InstallButtonBarAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(ButtonBarFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace etiqo
