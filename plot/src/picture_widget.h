#pragma once
#include <QFrame>
#include <QImage>
#include <memory>
#include <vector>

#include "plot/picture.h"
#include "plot/pixel_mapping.h"

namespace plot {

// The plot area: draws into a backing image at the device pixel ratio and
// shows the part that changed when asked to present.
class PictureWidget : public QFrame {
    Q_OBJECT
public:
    explicit PictureWidget(QWidget* parent);
    ~PictureWidget() override;

    // Scale
    Integer scaleMode = 1;
    UserScale scale;

    void setScale(const UserScale& s);
    void resetScaleToTwips();
    void cls();
    void line(Single x1, Single y1, Single x2, Single y2, bool hasColour, Colour colour);
    void present(bool now);
    // Fits the backing image to the interior after a change of size.
    void rebuildImage();

    QRgb background() const { return background_; }
    QRgb foreground() const { return foreground_; }
    const QImage& image() const { return image_; }
    double interiorWidthTwips() const;
    double interiorHeightTwips() const;

    std::unique_ptr<std::vector<RecordedLine>> recording;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateMapping();
    void markDirty(int x1, int y1, int x2, int y2);

    QImage image_;
    PixelMapping mapping_ { {}, 0, 0 };
    QRgb background_;
    QRgb foreground_;
    int dirtyX1_ = 0, dirtyY1_ = 0, dirtyX2_ = -1, dirtyY2_ = -1; // device pixels
};

} // namespace plot
