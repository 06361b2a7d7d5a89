#include "formpos.h"

#include "platform/registry.h"
#include "settings/logging.h"
#include "settings/settings.h"

#include <QCoreApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QWidget>

#include <algorithm>

FormBounds parseFormBounds(const QString &value)
{
    const QStringList items = value.split(u';');
    if (items.size() < 5)
        return {};
    int numbers[5];
    for (int i = 0; i < 5; ++i) {
        bool ok = false;
        numbers[i] = items[i].trimmed().toInt(&ok);
        if (!ok)
            return {};
    }
    return {numbers[0], numbers[1], numbers[2], numbers[3], numbers[4]};
}

QString formatFormBounds(const FormBounds &b)
{
    return QStringLiteral("%1;%2;%3;%4;%5").arg(b.left).arg(b.top).arg(b.width).arg(b.height).arg(b.state);
}

TFormPosition::TFormPosition(QWidget *owner, Registry *registry) : m_owner(owner), m_registry(registry) {}

Registry &TFormPosition::registry() const
{
    return m_registry ? *m_registry : settings::registry();
}

QString TFormPosition::key() const
{
    return Key.isEmpty() ? QStringLiteral("\\Software\\") + QCoreApplication::applicationName() : Key;
}

QString TFormPosition::valueName() const
{
    return ValueName.isEmpty() ? m_owner->objectName() + QStringLiteral("Pos") : ValueName;
}

QString TFormPosition::readValue()
{
    Registry &reg = registry();
    try {
        reg.closeKey();
        QString value;
        if (reg.openKey(key(), false) && reg.valueExists(valueName()))
            value = reg.readString(valueName());
        reg.closeKey();
        return value;
    } catch (const RegistryError &e) {
        qCWarning(lcSettings).noquote() << "window position unreadable, the design bounds stay:" << e.message();
        reg.closeKey();
        return {};
    }
}

void TFormPosition::load()
{
    if (!m_owner || !m_owner->isWindow())
        return;
    const FormBounds b = parseFormBounds(readValue());
    m_owner->setWindowState(m_owner->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    QRect r = m_owner->geometry();
    // Far beyond any screen a value is damaged; kept within reach, the
    // rectangle arithmetic cannot overflow.
    constexpr int kFar = 100000;
    // A place of 0 or less is taken when the value holds a whole window: one
    // at the screen's left edge, or on a screen left of or above the first.
    const bool whole = b.width > 0 && b.height > 0;
    if (b.left > 0 || whole)
        r.moveLeft(std::clamp(b.left, -kFar, kFar));
    if (b.top > 0 || whole)
        r.moveTop(std::clamp(b.top, -kFar, kFar));
    if (b.width > 0)
        r.setWidth(std::min(b.width, kFar));
    if (b.height > 0)
        r.setHeight(std::min(b.height, kFar));
    QList<QRect> areas;
    if (QScreen *primary = QGuiApplication::primaryScreen())
        areas.append(primary->availableGeometry());
    for (QScreen *screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            areas.append(screen->availableGeometry());
    m_owner->setGeometry(fitOnScreen(r, areas));
    // A dialog runs modally: minimised, it would block the program out of sight.
    if (b.state == 1 && !NeverMinimised && !qobject_cast<QDialog *>(m_owner))
        m_owner->setWindowState(m_owner->windowState() | Qt::WindowMinimized);
    else if (b.state == 2)
        m_owner->setWindowState(m_owner->windowState() | Qt::WindowMaximized);
}

void TFormPosition::save()
{
    if (!m_owner || !m_owner->isWindow())
        return;
    const Qt::WindowStates states = m_owner->windowState();
    int state = states.testFlag(Qt::WindowMinimized) ? 1 : states.testFlag(Qt::WindowMaximized) ? 2 : 0;
    // Minimised from maximised, it keeps both states; one that never comes
    // back minimised comes back as it was before.
    if (state == 1 && NeverMinimised && states.testFlag(Qt::WindowMaximized))
        state = 2;
    // The normal bounds, not those of the maximised or minimised window.
    QRect r = state == 0 ? m_owner->geometry() : m_owner->normalGeometry();
    if (!r.isValid())
        r = m_owner->geometry(); // never shown in its normal state
    Registry &reg = registry();
    try {
        reg.closeKey();
        if (reg.openKey(key(), true))
            reg.writeString(valueName(), formatFormBounds({r.left(), r.top(), r.width(), r.height(), state}));
    } catch (const RegistryError &) {
    }
    reg.closeKey();
}

namespace {

// Enough of a window shows on an area when a piece of its top edge, where
// its title bar is grabbed, lies on it: the user can drag it back in.
bool grabbable(const QRect &bounds, const QRect &area)
{
    constexpr int kGrip = 24;
    const QRect shown = bounds & area;
    return !shown.isEmpty() && bounds.top() >= area.top() && bounds.top() <= area.bottom() &&
           shown.width() >= std::min(bounds.width(), kGrip) && shown.height() >= std::min(bounds.height(), kGrip);
}

} // namespace

QRect fitOnScreen(const QRect &bounds, const QList<QRect> &areas)
{
    if (areas.isEmpty())
        return bounds;
    QRect all;
    bool shown = false;
    const QRect *most = nullptr;
    qint64 mostShown = 0;
    for (const QRect &area : areas) {
        all |= area;
        shown = shown || grabbable(bounds, area);
        const QRect part = bounds & area;
        const qint64 size = qint64(part.width()) * part.height();
        if (!part.isEmpty() && size > mostShown) {
            most = &area;
            mostShown = size;
        }
    }
    if (!most) {
        const QRect &area = areas.front();
        return QRect(area.topLeft(), bounds.size().boundedTo(area.size()));
    }
    // A corner or a strip without its top edge shows (the screen since made
    // smaller): moved onto the screen that shows most of it.
    if (!shown)
        return keptInside(bounds, *most);
    if (bounds.width() <= all.width() && bounds.height() <= all.height())
        return bounds;
    // Larger than the screens together (kept from a larger screen since
    // unplugged): its far edges and the resize grip would be out of reach.
    QRect fitted(bounds.topLeft(), bounds.size().boundedTo(all.size()));
    fitted.moveRight(std::min(fitted.right(), all.right()));
    fitted.moveBottom(std::min(fitted.bottom(), all.bottom()));
    fitted.moveLeft(std::max(fitted.left(), all.left()));
    fitted.moveTop(std::max(fitted.top(), all.top()));
    return fitted;
}

QRect keptInside(const QRect &bounds, const QRect &area, const QSize &minimum)
{
    if (area.isEmpty())
        return bounds;
    QRect kept(bounds.topLeft(), bounds.size().boundedTo(area.size()).expandedTo(minimum));
    kept.moveRight(std::min(kept.right(), area.right()));
    kept.moveBottom(std::min(kept.bottom(), area.bottom()));
    kept.moveLeft(std::max(kept.left(), area.left()));
    kept.moveTop(std::max(kept.top(), area.top()));
    return kept;
}

void keepOnScreen(QWidget *window)
{
    if (!window)
        return;
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window->setGeometry(keptInside(window->geometry(), screen->availableGeometry(), window->minimumSize()));
}
