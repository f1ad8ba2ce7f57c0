#include "announcement.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace plot::detail {

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)

void Announce(QWidget* about, const QString& text)
{
    QAccessibleAnnouncementEvent event(about, text);
    QAccessible::updateAccessibility(&event);
}

#else

namespace {

// Without an announcement event, a notification that appears is what a
// screen reader speaks wherever the focus is (Orca: its "showing" event).
// It is a child of no size that takes no focus and no mouse: never seen,
// never reached by Tab. Each announcement is a new one: a screen reader
// drops events it takes for repeats of the same object's. The one before
// stays until the next comes, so that a screen reader still behind can
// read it: two announcements may come within milliseconds (the fast phase
// and the end).
class Notice : public QWidget {
    Q_OBJECT
public:
    Notice(QWidget* parent, const QString& text)
        : QWidget(parent)
    {
        setAccessibleName(text);
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(0, 0, 0, 0);
    }
};

QAccessibleInterface* noticeAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(Notice::staticMetaObject.className()) && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

void Announce(QWidget* about, const QString& text)
{
    static const bool accessibleAsNotification = (QAccessible::installFactory(noticeAccessible), true);
    (void)accessibleAsNotification;
    const QList<Notice*> told = about->findChildren<Notice*>(Qt::FindDirectChildrenOnly);
    for (qsizetype i = 0; i + 1 < told.size(); ++i)
        delete told[i];
    (new Notice(about, text))->show();
}

#endif

} // namespace plot::detail

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
#include "announcement.moc"
#endif
