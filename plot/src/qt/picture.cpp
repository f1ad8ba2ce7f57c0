#include "picture_widget.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "announcement.h"
#include "plot/numeric.h"
#include "plot/twips.h"
#include "runtime.h"
#include "vector_state.h"

namespace plot {

namespace detail {
PictureCore& CoreOf(PictureWidget* widget)
{
    return widget->core;
}

void PassOnName(PictureWidget* widget, const std::string& name)
{
    widget->setAccessibleName(QString::fromStdString(name));
}

// Qt sends each new description to assistive technology as a change
// event (AT-SPI's accessible-description property), even when the text
// stays the same, so only a new text is set. A screen reader reads it when
// the picture has the focus; the announcement reaches it wherever the
// focus is.
void PassOnDescription(PictureWidget* widget, const std::string& description, const std::string& announcement)
{
    const QString text = QString::fromStdString(description);
    if (text != widget->accessibleDescription())
        widget->setAccessibleDescription(text);
    if (!announcement.empty())
        Announce(widget, QString::fromStdString(announcement));
}
} // namespace detail

namespace {
// To assistive technology the picture is an image (AT-SPI's role "image"),
// not a bare frame: a screen reader then reads its name and description.
QAccessibleInterface* pictureAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(PictureWidget::staticMetaObject.className()) && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    return nullptr;
}
} // namespace

PictureWidget::PictureWidget(QWidget* parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus);
    static const bool accessibleAsImage = (QAccessible::installFactory(pictureAccessible), true);
    (void)accessibleAsImage;
    detail::runtime().pictures.push_back(this);
}

PictureWidget::~PictureWidget()
{
    auto& list = detail::runtime().pictures;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void PictureWidget::rebuildImage()
{
    const qreal dpr = devicePixelRatioF();
    const QSize interior = contentsRect().size().expandedTo(QSize(0, 0));
    const QSize device(qRound(interior.width() * dpr), qRound(interior.height() * dpr));
    if (device == image_.size() && !image_.isNull())
        return;
    core.resize(device.width(), device.height(), interior.width() * TwipsPerPixel(),
        interior.height() * TwipsPerPixel());
    // The image only looks at the raster's buffer: what is drawn into the
    // one is in the other.
    image_ = QImage(reinterpret_cast<const uchar*>(core.raster.pixels()), device.width(), device.height(),
        device.width() * 4, QImage::Format_RGBX8888);
    image_.setDevicePixelRatio(dpr);
}

void PictureWidget::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    rebuildImage();
}

void PictureWidget::present(bool now)
{
    const auto dirty = core.raster.takeDirty();
    if (!dirty)
        return;
    const qreal dpr = image_.devicePixelRatio();
    const QPoint origin = contentsRect().topLeft();
    const QRect logical(QPoint(int(std::floor(dirty->x1 / dpr)), int(std::floor(dirty->y1 / dpr))),
        QPoint(int(std::ceil((dirty->x2 + 1) / dpr)), int(std::ceil((dirty->y2 + 1) / dpr))));
    const QRect area = logical.adjusted(0, 0, 1, 1).translated(origin);
    if (now)
        repaint(area);
    else
        update(area);
}

void PictureWidget::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setClipRegion(event->region() & contentsRect());
    painter.drawImage(contentsRect().topLeft(), image_);
    painter.end();
    detail::ClearUpperVectorState();
}

// Where the picture stands in the window, in twips.

Single Picture::Left() const
{
    return CSng(w_->x() * TwipsPerPixel());
}

void Picture::Left(Single twips)
{
    w_->move(qRound(Checked(twips) / TwipsPerPixel()), w_->y());
}

Single Picture::Width() const
{
    return CSng(w_->width() * TwipsPerPixel());
}

void Picture::Width(Single twips)
{
    const int px = qRound(Checked(twips) / TwipsPerPixel());
    if (px < 0)
        Raise(ErrorCode::InvalidPropertyValue);
    w_->resize(px, w_->height());
    w_->rebuildImage();
}

} // namespace plot
