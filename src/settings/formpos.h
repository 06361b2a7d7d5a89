// Keeps a window's normal bounds and state across runs in one registry text
// value: left;top;width;height;state (0 normal, 1 minimised, 2 maximised).
#pragma once

#include <QList>
#include <QRect>
#include <QString>

class QWidget;
class Registry;

class TFormPosition
{
public:
    inline static const QString kDefaultKey = QStringLiteral("\\Software\\Morvaline\\Viravezedur\\Workarea");

    explicit TFormPosition(QWidget *owner, Registry *registry = nullptr);

    QString Key;
    QString ValueName;
    // The main window: started minimised, the program would seem not to
    // start, and a question asked at start would wait out of sight.
    bool NeverMinimised = false;

    // Both do nothing when the owner is not a window. A dialog is never
    // loaded minimised; nor is a NeverMinimised window, which comes back
    // maximised when it was minimised from maximised.
    void load();
    void save();

private:
    QWidget *m_owner;
    Registry *m_registry;

    Registry &registry() const;
    QString key() const;
    QString valueName() const;
    QString readValue();
};

// The five numbers of a stored value; all zero when it has fewer than five
// items or one of them is no number.
struct FormBounds {
    int left = 0, top = 0, width = 0, height = 0, state = 0;
};
FormBounds parseFormBounds(const QString &value);
QString formatFormBounds(const FormBounds &bounds);

// Bounds from a stored value that no screen shows any more (a monitor since
// removed, a damaged value) are moved onto the first area and made to fit it;
// bounds of which only a corner or a strip without the top edge shows are
// moved wholly onto the area that shows most of them; bounds whose top edge
// shows on some area stay where they are unless they are larger than all
// areas together: then they are made to fit those.
QRect fitOnScreen(const QRect &bounds, const QList<QRect> &areas);

// The bounds moved, and made smaller where they are larger than the area
// (never below minimum), so that the whole window lies inside the area.
QRect keptInside(const QRect &bounds, const QRect &area, const QSize &minimum = {});

// A window about to show: made to lie wholly on the available area of its
// screen, so that no button or edge is out of reach on a small screen.
void keepOnScreen(QWidget *window);
