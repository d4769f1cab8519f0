// How the program scales with the brokerage: start-up to the first shown page, against a minimal Qt Widgets program
// that shows one window, peak memory, showing page 2 and opening a representative for editing, with 10 and with
// 100,000 representatives stored, and "Revisar" there.
// Each start is a fresh process, timed by this parent from its start to the child's word that the window is exposed;
// the child times page 2 and the edit itself and reports them with its peak memory.
#include "BenchSupport.h"

#include "app/frmMain.h"
#include "data/BaseDatos.h"
#include "platform/Database.h"
#include "platform/Messages.h"
#include "review/frmRevision.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

class AlwaysOk : public MessageService {
public:
    bool show(QWidget*, const Message&) override { return true; }
};

void press(QWidget* root, const char* name) {
    root->findChild<QPushButton*>(QString::fromLatin1(name))->click();
}

// The slowest keystroke of a search typed into page 2 until it narrows to the last representative, and of
// clearing it again: each narrows the list, reads its first page and shows the first one found.
double search(frmMain* w) {
    auto* box = w->findChild<QLineEdit*>(QStringLiteral("txtBuscar"));
    double slowest = 0;
    QElapsedTimer clock;
    const auto timed = [&](const std::function<void()>& keystroke) {
        clock.restart();
        keystroke();
        QApplication::processEvents();
        slowest = std::max(slowest, double(clock.nsecsElapsed()) / 1e6);
    };
    for (QChar c : QStringLiteral("rfc0000099999"))
        timed([&] { box->insert(c); });
    timed([&] { box->clear(); });
    return slowest;
}

// Once the window is on screen: page 2, then the first representative opened for editing (and closed again).
void measure(frmMain* w) {
    std::printf("listo\n");
    std::fflush(stdout);
    QElapsedTimer clock;
    clock.start();
    press(w, "cmdSiguiente");
    QApplication::processEvents();
    const double page2 = w->findChild<QStackedWidget*>(QStringLiteral("paginas"))->currentIndex() == 1
                             ? double(clock.nsecsElapsed()) / 1e6
                             : -1;

    auto* grid = w->findChild<QAbstractItemView*>(QStringLiteral("fgAA"));
    grid->setCurrentIndex(grid->model()->index(0, 0));
    QApplication::processEvents();
    double edit = -1;
    QTimer opened;
    QObject::connect(&opened, &QTimer::timeout, [&] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            edit = double(clock.nsecsElapsed()) / 1e6;
            opened.stop();
            d->reject();
        }
    });
    opened.start(0);
    clock.restart();
    press(w, "cmdEditar");
    opened.stop();
    const long memory = statusKb("VmHWM:");
    const double buscar = search(w);
    // "Revisar": to its list on screen, and to the last request file read behind it.
    double revisar = -1, leido = -1;
    QTimer revisando;
    QObject::connect(&revisando, &QTimer::timeout, [&] {
        if (auto* r = qobject_cast<frmRevision*>(QApplication::activeModalWidget())) {
            revisar = revisar < 0 ? double(clock.nsecsElapsed()) / 1e6 : revisar;
            if (r->terminada()) {
                leido = double(clock.nsecsElapsed()) / 1e6;
                r->reject();
            }
        }
    });
    revisando.start(0);
    clock.restart();
    press(w, "cmdRevisar");
    std::printf("pagina2 %.1f editar %.1f memoria %ld buscar %.1f revisar %.1f leido %.1f\n", page2, edit, memory,
                buscar, revisar, leido);
    std::fflush(stdout);
    QCoreApplication::quit();
}

void whenExposed(QWidget* w, const std::function<void()>& then) {
    auto* timer = new QTimer(w);
    QObject::connect(timer, &QTimer::timeout, [=] {
        if (w->windowHandle() && w->windowHandle()->isExposed()) {
            timer->stop();
            then();
        }
    });
    timer->start(0);
}

// The program on the folder, or the minimal program when there is none.
int child(int argc, char* argv[], const QString& folder) {
    QApplication app(argc, argv);
    if (folder.isEmpty()) {
        QWidget w;
        w.resize(1280, 720);
        w.show();
        whenExposed(&w, [] {
            std::printf("listo\n");
            std::fflush(stdout);
            QCoreApplication::quit();
        });
        return QApplication::exec();
    }
    AlwaysOk ok;
    MessageService::install(&ok);
    // Presses on through the start window as a user would.
    QTimer startWindow;
    QObject::connect(&startWindow, &QTimer::timeout, [&] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            d->accept();
    });
    startWindow.start(0);
    frmMain w(folder, folder + QStringLiteral("/sin-version-anterior"));
    if (!w.iniciar())
        return 1;
    startWindow.stop();
    w.show();
    whenExposed(&w, [&w] { measure(&w); });
    return QApplication::exec();
}

// The medians over `runs` starts of the start-up, page 2 and the edit in ms, the peak memory in kB, the slowest
// search keystroke and "Revisar" (to its list, to its last request file) in ms.
QList<double> medians(const QString& self, const QStringList& arguments, int runs) {
    QList<QList<double>> figures(7);
    for (int i = 0; i < runs; ++i) {
        QProcess p;
        QElapsedTimer clock;
        clock.start();
        p.start(self, arguments);
        QByteArray out;
        while (p.waitForReadyRead(60000)) {
            out += p.readAll();
            if (figures[0].size() == i && out.contains("listo"))
                figures[0] << double(clock.nsecsElapsed()) / 1e6;
            if (out.contains("leido"))
                break;
        }
        p.waitForFinished(60000);
        out += p.readAll();
        const QList<QByteArray> words = out.mid(out.indexOf("pagina2")).simplified().split(' ');
        for (int k = 1; k < 7; ++k)
            figures[k] << words.value(2 * k - 1).toDouble();
    }
    QList<double> result;
    for (const QList<double>& f : figures)
        result << (f.isEmpty() ? -1 : median(f));
    return result;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc >= 2 && qstrcmp(argv[1], "--hijo") == 0)
        return child(argc, argv, argc >= 3 ? QString::fromLocal8Bit(argv[2]) : QString());

    QCoreApplication app(argc, argv);
    // Without a display the windows are drawn off screen, where the minimal program costs next to nothing and its
    // ratio says little; under a display (or Xvfb) both pay for the window system as a broker's machine does.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString self = QCoreApplication::applicationFilePath();
    const int runs = 5;

    std::printf("escala, mediana de %d corridas\n", runs);
    const double minimal = medians(self, {QStringLiteral("--hijo")}, runs)[0];
    std::printf("  programa minimo de Qt: arranque %7.1f ms\n", minimal);
    double few = 0;
    for (int count : {10, 100000}) {
        QTemporaryDir dir;
        fillBrokerage(*openTolvekDatabase(dir.path()), count);
        const QList<double> r = medians(self, {QStringLiteral("--hijo"), dir.path()}, runs);
        if (count == 10)
            few = r[0];
        std::printf("  %6d mandatarios: arranque %7.1f ms (razon %.2f contra 10, meta <= 1.5; %.2f contra el programa "
                    "minimo, meta < 1.3), memoria maxima %6.1f MB (meta <= 80), pagina 2 %6.1f ms, editar %6.1f ms "
                    "(metas < 50), buscar %6.1f ms por tecla (meta < 100), revisar %6.1f ms (meta < 2000; "
                    "requerimientos leidos en %.1f ms)\n",
                    count, r[0], r[0] / few, r[0] / minimal, r[3] / 1024.0, r[1], r[2], r[4], r[5], r[6]);
    }
    return 0;
}
