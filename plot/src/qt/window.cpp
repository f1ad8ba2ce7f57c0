#include "plot/window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "picture_widget.h"
#include "plot/numeric.h"
#include "plot/twips.h"
#include "runtime.h"
#include "widgets.h"

namespace plot {

namespace {

QScreen* primaryScreen()
{
    QScreen* s = QGuiApplication::primaryScreen();
    if (!s)
        Raise(ErrorCode::Internal, "kein Bildschirm");
    return s;
}

bool onWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// On Wayland a window learns its decoration only once it is shown, and the
// compositor tells no client where its panels are: Qt reports the whole
// output as available and places nothing itself. What is assumed there
// instead: the title bar and borders that Qt draws itself (30 pixels of
// title, 3 on each other side), also about what a compositor's own title
// bar takes; and panels of up to 48 pixels across the top or bottom of the
// output (GNOME's top bar and weston's panel take 32, Plasma's panel 44).
constexpr QSize waylandDecoration { 6, 33 };
constexpr int waylandPanels = 48;

// The frame the platform adds around the client area, where it already
// knows it (window managers tell only once the window is mapped).
QSize knownFrame(QWidget* w)
{
    const QMargins m = w->windowHandle() ? w->windowHandle()->frameMargins() : QMargins();
    return { m.left() + m.right(), m.top() + m.bottom() };
}

// The frame counted in the window's outer width: on Wayland at least the
// decoration that will be drawn around it.
QSize outerFrame(QWidget* w)
{
    const QSize known = knownFrame(w);
    return onWayland() ? known.expandedTo(waylandDecoration) : known;
}

// For fitting the window to the screen: the known frame, or at least a
// usual title bar and border.
QSize frameAllowance(QWidget* w)
{
    const QString platform = QGuiApplication::platformName();
    if (platform == "offscreen" || platform == "minimal")
        return knownFrame(w);
    return outerFrame(w).expandedTo({ 8, 32 });
}

// The part of the screen a window may take: the work area the window
// system reports, less the assumed panels where it reports none.
QRect usableArea(QScreen* screen)
{
    QRect area = screen->availableGeometry();
    if (onWayland() && area == screen->geometry())
        area.setHeight(area.height() - waylandPanels);
    return area;
}

int toPixels(double twips)
{
    return qRound(twips / TwipsPerPixel());
}

QFont makeFont(const FontDesign& design)
{
    QFont font;
    // The designed family where it exists, else the closest sans serif.
    font.setFamilies({ QString::fromStdString(design.family), "Microsoft Sans Serif", "Liberation Sans", "Arimo",
        "DejaVu Sans" });
    font.setStyleHint(QFont::SansSerif);
    font.setBold(design.bold);
    // One point is 20 twips; fonts follow the window's scale.
    font.setPixelSize(std::max(1, qRound(design.points * 20.0 / TwipsPerPixel())));
    return font;
}

QRect toRect(const Placement& at)
{
    return { toPixels(at.left), toPixels(at.top), toPixels(at.width), toPixels(at.height) };
}

} // namespace

FormWidget::FormWidget()
{
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void FormWidget::applyTabOrder()
{
    std::stable_sort(tabOrder.begin(), tabOrder.end(), [](auto& a, auto& b) { return a.first < b.first; });
    for (size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
}

void FormWidget::closeEvent(QCloseEvent* event)
{
    // Closing the window in the middle of a handler ends the program just
    // as closing it while idle does: the suspended handlers do not resume.
    if (detail::runtime().handlerDepth > 0)
        detail::BeginEnd(0);
    event->accept();
}

Window::Window(const WindowDesign& design)
    : w_(std::make_unique<FormWidget>())
{
    QScreen* screen = primaryScreen();
    w_->winId(); // the platform window, so that its frame is known
    const QSize frame = frameAllowance(w_.get());
    const QRect available = usableArea(screen);
    detail::runtime().twipsPerPixel = ChooseTwipsPerPixel(
        { screen->logicalDotsPerInch(), available.width(), available.height(), frame.width(), frame.height() },
        design.fitWidth, design.fitHeight);

    w_->setWindowTitle(QString::fromStdString(design.caption));
    w_->setFont(makeFont(design.font));
    w_->setFixedSize(toPixels(design.clientWidth), toPixels(design.clientHeight));
}

Window::~Window() = default;

Picture Window::AddPicture(const Placement& at, int tabIndex)
{
    auto* p = new PictureWidget(w_.get());
    p->setGeometry(toRect(at));
    p->rebuildImage();
    w_->tabOrder.emplace_back(tabIndex, p);
    return Picture(p);
}

Button Window::AddButton(const std::string& caption, const Placement& at, int tabIndex, const FontDesign& font)
{
    auto* b = new ButtonWidget(w_.get());
    b->setGeometry(toRect(at));
    b->setFont(makeFont(font));
    Button button(b);
    button.Caption(caption);
    w_->tabOrder.emplace_back(tabIndex, b);
    return button;
}

void Window::OnLoad(std::function<void()> handler)
{
    w_->onLoad = std::move(handler);
}

Single Window::Width() const
{
    return CSng((w_->width() + outerFrame(w_.get()).width()) * TwipsPerPixel());
}

void Window::Width(Single twips)
{
    const int client = toPixels(Checked(twips)) - outerFrame(w_.get()).width();
    if (client < 0)
        Raise(ErrorCode::InvalidPropertyValue);
    w_->setFixedWidth(client);
}

void Window::Move(Single left, Single top)
{
    QScreen* screen = primaryScreen();
    const QPoint origin = screen->geometry().topLeft();
    w_->move(origin + QPoint(toPixels(Checked(left)), toPixels(Checked(top))));
}

std::string Window::Caption() const
{
    return w_->windowTitle().toStdString();
}

void Window::Unload()
{
    w_->hide();
}

void Window::Load()
{
    detail::RunHandler(w_->onLoad);
}

void Window::Show()
{
    w_->applyTabOrder();
    w_->show();
}

Single ScreenInfo::Width() const
{
    return CSng(primaryScreen()->geometry().width() * TwipsPerPixel());
}

Single ScreenInfo::Height() const
{
    return CSng(primaryScreen()->geometry().height() * TwipsPerPixel());
}

} // namespace plot
