#pragma once
#include <QFrame>
#include <QImage>

#include "picture_core.h"

namespace plot {

// The plot area: its pixels at the device pixel ratio, shown through an
// image over the same buffer; only the part that changed is repainted when
// asked to present.
class PictureWidget : public QFrame {
    Q_OBJECT
public:
    explicit PictureWidget(QWidget* parent);
    ~PictureWidget() override;

    detail::PictureCore core;

    void present(bool now);
    // Fits the pixels to the interior after a change of size.
    void rebuildImage();

    QRgb background() const { return toQRgb(PaperColour); }
    QRgb foreground() const { return toQRgb(InkColour); }
    // Shares the pixels' buffer: a copy() keeps a picture as it is now.
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    static QRgb toQRgb(Colour c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

    QImage image_;
};

} // namespace plot
