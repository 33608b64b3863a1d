// Launches a program and times it until a JPEG's pixels are on the screen, then reports the
// program's peak resident memory. Usage: zqlaunchwatch JPEG PROGRAM [ARGUMENTS...]
// Prints "<milliseconds> <peak kB>"; exits 1 when the pixels do not come within 60 s.
//
// The JPEG is decoded here by the engine; spots of the screen away from the designer's other
// windows are polled until each shows its decoded colour (within 2 levels a channel, as
// another decoder may round differently).

#include "picture/jpeg_codec.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 &&
           std::abs(qBlue(a) - qBlue(b)) <= 2;
}

// Peak resident set of a running process in kB, from the kernel's account of it; 0 where
// there is none.
long peakKilobytes(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: zqlaunchwatch JPEG PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    zq::JpegCodec jpeg;
    jpeg.loadFile(args[1]);
    const zq::Bitmap picture = jpeg.decode();
    QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen->geometry() & QRect(0, 0, picture.width(), picture.height());
    // Corners and edges, and two inner spots: none under the designer's other windows, which
    // stand in the middle and on the right at about a third of the height.
    const int w = area.width(), h = area.height();
    const QPoint spots[] = {{w - 1, 0},     {0, h - 1},     {w - 1, h - 1},
                            {w / 2, h / 4}, {w / 2, h - 1}, {w / 4, 3 * h / 4}};

    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    program.start(args[2], args.mid(3));
    if (!program.waitForStarted()) {
        std::fprintf(stderr, "cannot start %s\n", qPrintable(args[2]));
        return 1;
    }
    qint64 shownAt = -1;
    while (shownAt < 0 && clock.elapsed() < 60000 && program.state() == QProcess::Running) {
        bool all = true;
        for (QPoint p : spots) {
            const QImage grabbed = screen->grabWindow(0, p.x(), p.y(), 1, 1).toImage();
            if (grabbed.isNull() || !near(grabbed.pixel(0, 0), picture.pixel(p.x(), p.y()))) {
                all = false;
                break;
            }
        }
        if (all)
            shownAt = clock.nsecsElapsed();
        else
            QThread::usleep(500);
    }
    // What the program holds once it has settled.
    QThread::msleep(700);
    const long peak = peakKilobytes(program.processId());
    program.terminate();
    if (!program.waitForFinished(5000)) {
        program.kill();
        program.waitForFinished(5000);
    }
    if (shownAt < 0) {
        std::fprintf(stderr, "%s did not show the picture\n", qPrintable(args[2]));
        return 1;
    }
    std::printf("%.2f %ld\n", double(shownAt) / 1e6, peak);
    return 0;
}
