// Start-up to the first shown page, against a minimal Qt Widgets program that shows one window.
// Each run is a fresh process, timed by this parent from its start to the child's word that a window is exposed.
#include "app/frmMain.h"
#include "data/BaseDatos.h"
#include "platform/Database.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdio>

namespace {

class AlwaysOk : public MessageService {
public:
    bool show(QWidget*, const Message&) override { return true; }
};

// Presses on through the start window as a user would, without waiting for a person.
void acceptStartWindow() {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            d->accept();
    });
    timer->start(0);
}

void reportWhenExposed(QWidget* w) {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [w] {
        if (w->windowHandle() && w->windowHandle()->isExposed()) {
            std::printf("listo\n");
            std::fflush(stdout);
            QCoreApplication::quit();
        }
    });
    timer->start(0);
}

int child(int argc, char* argv[], bool tolvek, const QString& folder) {
    QApplication app(argc, argv);
    if (!tolvek) {
        QWidget w;
        w.resize(1280, 720);
        w.show();
        reportWhenExposed(&w);
        return QApplication::exec();
    }
    AlwaysOk ok;
    MessageService::install(&ok);
    acceptStartWindow();
    frmMain w(folder, folder + QStringLiteral("/sin-version-anterior"));
    if (!w.iniciar())
        return 1;
    w.show();
    reportWhenExposed(&w);
    return QApplication::exec();
}

double timeChild(const QString& self, const QStringList& args) {
    QProcess p;
    QElapsedTimer clock;
    clock.start();
    p.start(self, args);
    while (p.waitForReadyRead(30000)) {
        if (p.readAll().contains("listo"))
            break;
    }
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    p.waitForFinished(30000);
    return ms;
}

double median(QList<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc >= 2 && qstrcmp(argv[1], "--minimal") == 0)
        return child(argc, argv, false, {});
    if (argc >= 3 && qstrcmp(argv[1], "--tolvek") == 0)
        return child(argc, argv, true, QString::fromLocal8Bit(argv[2]));

    QCoreApplication app(argc, argv);
    // Without a display the windows are drawn off screen, where the minimal program costs next to nothing and the
    // ratio says little; under a display (or Xvfb) both pay for the window system as a broker's machine does.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString self = QCoreApplication::applicationFilePath();
    const int runs = 9;

    QTemporaryDir dir;
    {
        QString error;
        auto db = openTolvekDatabase(dir.path(), &error);
        db->exec(QStringLiteral("insert into AA values (470,'EMILIO','GOMEZ','DIAZ','GODE561231GR8',"
                                "'GODE561231HDFRRN09',0,470)"));
        db->exec(
            QStringLiteral("insert into Domicilios_AA values (1,'09',15,'REFORMA','1','','CENTRO','06600','5','5')"));
        db->exec(
            QStringLiteral("insert into Domicilios_AA values (2,'20',570,'JUAREZ','1','','CENTRO','68000','5','5')"));
    }

    QList<double> minimal, tolvek, first;
    for (int i = 0; i < runs; ++i) {
        minimal << timeChild(self, {QStringLiteral("--minimal")});
        tolvek << timeChild(self, {QStringLiteral("--tolvek"), dir.path()});
        QTemporaryDir fresh;
        first << timeChild(self, {QStringLiteral("--tolvek"), fresh.path()});
    }
    const double m = median(minimal), t = median(tolvek), f = median(first);
    std::printf("arranque, mediana de %d corridas\n", runs);
    std::printf("  programa minimo de Qt:               %8.1f ms\n", m);
    std::printf("  TOLVEK con agente guardado:          %8.1f ms  razon %.2f (meta < 1.3)\n", t, t / m);
    std::printf("  TOLVEK primer arranque (crea la BD): %8.1f ms  razon %.2f\n", f, f / m);
    return 0;
}
