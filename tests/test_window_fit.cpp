// The whole window, button row included, on a screen of SCREEN_W x SCREEN_H.
#include <QScreen>
#include <QtTest>

#include "form_fixture.h"
#include "plot/twips.h"

class WindowFit : public QObject {
    Q_OBJECT
private slots:
    void windowLiesOnTheScreenInItsDesignedProportions()
    {
        QCOMPARE(QGuiApplication::primaryScreen()->geometry().size(), QSize(SCREEN_W, SCREEN_H));
        LoadedForm f;
        f->Me.Show();
        const double tpp = plot::TwipsPerPixel();
        QVERIFY(tpp >= 15.0);
        if (SCREEN_H >= 1000)
            QCOMPARE(tpp, 15.0);

        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QWidget* window = f->Me.widget();
        QVERIFY2(screen.contains(window->frameGeometry()), qPrintable(QString("%1,%2 %3x%4 on %5x%6").arg(window->frameGeometry().x()).arg(window->frameGeometry().y()).arg(window->frameGeometry().width()).arg(window->frameGeometry().height()).arg(screen.width()).arg(screen.height())));
        QCOMPARE(window->height(), qRound(14265 / tpp));
        for (plot::Button* b : { &f->Command1, &f->Command2, &f->Command3, &f->Command4, &f->Command5, &f->Command6 }) {
            const QRect r = b->widget()->geometry();
            QVERIFY2(window->rect().contains(r), b->Caption().c_str());
            QCOMPARE(r.top(), qRound(13560 / tpp));
        }
        // Proportions: positions scale with the one factor.
        QCOMPARE(f->Command5.widget()->geometry().right() + 1, qRound(14400 / tpp) + qRound(2175 / tpp));
        QCOMPARE(f->Picture1.widget()->geometry().bottom() + 1, qRound(360 / tpp) + qRound(13095 / tpp));
    }
};

QTEST_MAIN(WindowFit)
#include "test_window_fit.moc"
