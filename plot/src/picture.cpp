#include "picture_widget.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cstring>

#include "plot/numeric.h"
#include "plot/twips.h"
#include "runtime.h"
#include "vector_state.h"

namespace plot {

namespace {
QRgb toQRgb(Colour c)
{
    return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}
Colour fromQRgb(QRgb c)
{
    return RGB(qRed(c), qGreen(c), qBlue(c));
}
} // namespace

PictureWidget::PictureWidget(QWidget* parent)
    : QFrame(parent)
    , background_(toQRgb(PaperColour))
    , foreground_(toQRgb(InkColour))
{
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus);
    detail::runtime().pictures.push_back(this);
}

PictureWidget::~PictureWidget()
{
    auto& list = detail::runtime().pictures;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

double PictureWidget::interiorWidthTwips() const
{
    return contentsRect().width() * TwipsPerPixel();
}

double PictureWidget::interiorHeightTwips() const
{
    return contentsRect().height() * TwipsPerPixel();
}

void PictureWidget::resetScaleToTwips()
{
    scaleMode = 1;
    scale = { 0, 0, interiorWidthTwips(), interiorHeightTwips() };
    updateMapping();
}

void PictureWidget::setScale(const UserScale& s)
{
    scale = s;
    updateMapping();
}

void PictureWidget::updateMapping()
{
    mapping_ = PixelMapping(scale, image_.width(), image_.height());
}

void PictureWidget::rebuildImage()
{
    const qreal dpr = devicePixelRatioF();
    const QSize interior = contentsRect().size();
    const QSize device(qRound(interior.width() * dpr), qRound(interior.height() * dpr));
    if (device == image_.size())
        return;
    QImage next(device.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
    next.setDevicePixelRatio(dpr);
    next.fill(background_);
    detail::ClearUpperVectorState();
    image_ = std::move(next);
    if (scaleMode == 1)
        resetScaleToTwips();
    else
        updateMapping();
    markDirty(0, 0, image_.width() - 1, image_.height() - 1);
}

void PictureWidget::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    rebuildImage();
}

void PictureWidget::cls()
{
    if (image_.isNull())
        return;
    image_.fill(background_);
    detail::ClearUpperVectorState();
    markDirty(0, 0, image_.width() - 1, image_.height() - 1);
}

void PictureWidget::markDirty(int x1, int y1, int x2, int y2)
{
    if (dirtyX2_ < dirtyX1_) {
        dirtyX1_ = x1, dirtyY1_ = y1, dirtyX2_ = x2, dirtyY2_ = y2;
        return;
    }
    dirtyX1_ = std::min(dirtyX1_, x1);
    dirtyY1_ = std::min(dirtyY1_, y1);
    dirtyX2_ = std::max(dirtyX2_, x2);
    dirtyY2_ = std::max(dirtyY2_, y2);
}

void PictureWidget::line(Single x1, Single y1, Single x2, Single y2, bool hasColour, Colour colour)
{
    if (recording) [[unlikely]]
        recording->push_back({ x1, y1, x2, y2, hasColour, hasColour ? colour : 0 });
    const auto seg = mapping_.segment(x1, y1, x2, y2);
    if (!seg)
        return;
    const QRgb rgb = hasColour ? toQRgb(colour) : foreground_;
    auto* bits = reinterpret_cast<QRgb*>(image_.bits());
    const qsizetype stride = image_.bytesPerLine() / 4;
    if (seg->x1 == seg->x2) {
        const int top = std::min(seg->y1, seg->y2), bottom = std::max(seg->y1, seg->y2);
        QRgb* p = bits + top * stride + seg->x1;
        for (int r = top; r <= bottom; ++r, p += stride)
            *p = rgb;
        markDirty(seg->x1, top, seg->x1, bottom);
        return;
    }
    // Any other slope: step along the longer axis.
    const int dx = seg->x2 - seg->x1, dy = seg->y2 - seg->y1;
    const int steps = std::max(std::abs(dx), std::abs(dy));
    for (int i = 0; i <= steps; ++i) {
        const int c = seg->x1 + static_cast<int>(std::lround(double(dx) * i / steps));
        const int r = seg->y1 + static_cast<int>(std::lround(double(dy) * i / steps));
        bits[r * stride + c] = rgb;
    }
    markDirty(std::min(seg->x1, seg->x2), std::min(seg->y1, seg->y2), std::max(seg->x1, seg->x2),
        std::max(seg->y1, seg->y2));
}

void PictureWidget::present(bool now)
{
    if (dirtyX2_ < dirtyX1_)
        return;
    const qreal dpr = image_.devicePixelRatio();
    const QPoint origin = contentsRect().topLeft();
    const QRect logical(QPoint(int(std::floor(dirtyX1_ / dpr)), int(std::floor(dirtyY1_ / dpr))),
        QPoint(int(std::ceil((dirtyX2_ + 1) / dpr)), int(std::ceil((dirtyY2_ + 1) / dpr))));
    dirtyX2_ = dirtyX1_ - 1;
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

// The program's view of the picture, in twips and user units.

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

Integer Picture::ScaleMode() const
{
    return w_->scaleMode;
}

void Picture::ScaleMode(Integer mode)
{
    if (mode != 1 && mode != 0)
        Raise(ErrorCode::InvalidPropertyValue);
    if (mode == 1)
        w_->resetScaleToTwips();
    else
        w_->scaleMode = 0;
}

Single Picture::ScaleLeft() const { return static_cast<Single>(w_->scale.left); }
Single Picture::ScaleTop() const { return static_cast<Single>(w_->scale.top); }
Single Picture::ScaleWidth() const { return static_cast<Single>(w_->scale.width); }
Single Picture::ScaleHeight() const { return static_cast<Single>(w_->scale.height); }

// Setting one scale value alone makes the scale a user scale (mode 0).
void Picture::ScaleLeft(Single v)
{
    UserScale s = w_->scale;
    s.left = Checked(v);
    w_->scaleMode = 0;
    w_->setScale(s);
}

void Picture::ScaleTop(Single v)
{
    UserScale s = w_->scale;
    s.top = Checked(v);
    w_->scaleMode = 0;
    w_->setScale(s);
}

void Picture::ScaleWidth(Single v)
{
    if (Checked(v) == 0)
        Raise(ErrorCode::InvalidPropertyValue);
    UserScale s = w_->scale;
    s.width = v;
    w_->scaleMode = 0;
    w_->setScale(s);
}

void Picture::ScaleHeight(Single v)
{
    if (Checked(v) == 0)
        Raise(ErrorCode::InvalidPropertyValue);
    UserScale s = w_->scale;
    s.height = v;
    w_->scaleMode = 0;
    w_->setScale(s);
}

void Picture::Cls()
{
    w_->cls();
}

void Picture::Line(Single x1, Single y1, Single x2, Single y2)
{
    w_->line(x1, y1, x2, y2, false, 0);
}

void Picture::Line(Single x1, Single y1, Single x2, Single y2, Colour colour)
{
    w_->line(x1, y1, x2, y2, true, colour);
}

Colour Picture::BackColor() const
{
    return fromQRgb(w_->background());
}

Colour Picture::ForeColor() const
{
    return fromQRgb(w_->foreground());
}

void Picture::StartRecording()
{
    w_->recording = std::make_unique<std::vector<RecordedLine>>();
}

std::vector<RecordedLine> Picture::TakeRecording()
{
    std::vector<RecordedLine> lines;
    if (w_->recording)
        lines = std::move(*w_->recording);
    w_->recording.reset();
    return lines;
}

} // namespace plot
