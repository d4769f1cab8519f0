// How the program scales with the brokerage: start-up to the first shown page, peak memory, showing page 2 and
// opening a representative for editing, with 10 and with 100,000 representatives stored.
// Each start is a fresh process, timed by this parent from its start to the child's word that the window is exposed;
// the child times page 2 and the edit itself and reports them with its peak memory.
#include "app/frmMain.h"
#include "data/BaseDatos.h"
#include "platform/Database.h"
#include "platform/Messages.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>

namespace {

class AlwaysOk : public MessageService {
public:
    bool show(QWidget*, const Message&) override { return true; }
};

// The process's peak resident memory in kB.
long peakKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

void press(QWidget* root, const char* name) {
    root->findChild<QPushButton*>(QString::fromLatin1(name))->click();
}

// Once the window is on screen: page 2, then the first representative opened for editing (and closed again).
void measure(frmMain* w) {
    std::printf("listo\n");
    std::fflush(stdout);
    QElapsedTimer clock;
    clock.start();
    press(w, "cmdSiguiente");
    QApplication::processEvents();
    const double page2 = double(clock.nsecsElapsed()) / 1e6;

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
    std::printf("pagina2 %.1f editar %.1f memoria %ld\n", page2, edit, peakKb());
    std::fflush(stdout);
    QCoreApplication::quit();
}

int child(int argc, char* argv[], const QString& folder) {
    QApplication app(argc, argv);
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
    QTimer exposed;
    QObject::connect(&exposed, &QTimer::timeout, [&] {
        if (w.windowHandle() && w.windowHandle()->isExposed()) {
            exposed.stop();
            measure(&w);
        }
    });
    exposed.start(0);
    return QApplication::exec();
}

void fill(const QString& folder, int representatives) {
    QString error;
    auto db = openTolvekDatabase(folder, &error);
    Transaction t(*db);
    db->exec(QStringLiteral("insert into AA values (470,'EMILIO','GOMEZ','DIAZ','GODE561231GR8',"
                            "'GODE561231HDFRRN09',0,470)"));
    db->exec(QStringLiteral("insert into Domicilios_AA values (1,'09',15,'REFORMA','1','','CENTRO','06600','5','5')"));
    db->exec(QStringLiteral("insert into Domicilios_AA values (2,'20',570,'JUAREZ','1','','CENTRO','68000','5','5')"));
    Statement mandatario = db->prepare(QStringLiteral("insert into Mandatarios values (?,?,?,?,?,?,?,?,?)"));
    Statement domicilio = db->prepare(QStringLiteral("insert into Domicilios_MM values (?,?,?,?,?,?,?,?,?,?,?)"));
    for (int i = 0; i < representatives; ++i) {
        const QString n = QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0'));
        const QString curp = QStringLiteral("LOTA%1HDFRRN09").arg(n);
        const QString rfc = QStringLiteral("LOTA%1AB1").arg(n);
        mandatario.run({curp, rfc, QStringLiteral("NOMBRE") + n, QStringLiteral("LOPEZ"), QStringLiteral("TORRES"),
                        i % 2 ? 3 : 1, QStringLiteral("/req/") + rfc + QStringLiteral(".req"), 0, 1});
        for (int tipo : {1, 2})
            domicilio.run({curp, QStringLiteral("09"), 15, QStringLiteral("REFORMA"), QStringLiteral("1"), QString(),
                           QStringLiteral("CENTRO"), QStringLiteral("06600"), QStringLiteral("5"), QStringLiteral("5"),
                           tipo});
    }
    t.commit();
}

struct Run {
    double start = 0, page2 = 0, edit = 0;
    long memoryKb = 0;
};

Run runChild(const QString& self, const QString& folder) {
    Run run;
    QProcess p;
    QElapsedTimer clock;
    clock.start();
    p.start(self, {QStringLiteral("--tolvek"), folder});
    QByteArray out;
    while (p.waitForReadyRead(60000)) {
        out += p.readAll();
        if (run.start == 0 && out.contains("listo"))
            run.start = double(clock.nsecsElapsed()) / 1e6;
        if (out.contains("memoria"))
            break;
    }
    p.waitForFinished(60000);
    out += p.readAll();
    const QList<QByteArray> words = out.mid(out.indexOf("pagina2")).simplified().split(' ');
    run.page2 = words.value(1).toDouble();
    run.edit = words.value(3).toDouble();
    run.memoryKb = words.value(5).toLong();
    return run;
}

Run median(QList<Run> runs) {
    const auto mid = [&](auto member) {
        std::sort(runs.begin(), runs.end(), [&](const Run& a, const Run& b) { return a.*member < b.*member; });
        return runs[runs.size() / 2].*member;
    };
    return {mid(&Run::start), mid(&Run::page2), mid(&Run::edit), mid(&Run::memoryKb)};
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc >= 3 && qstrcmp(argv[1], "--tolvek") == 0)
        return child(argc, argv, QString::fromLocal8Bit(argv[2]));

    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString self = QCoreApplication::applicationFilePath();
    const int runs = 5;

    std::printf("escala, mediana de %d corridas\n", runs);
    Run few;
    for (int count : {10, 100000}) {
        QTemporaryDir dir;
        fill(dir.path(), count);
        QList<Run> all;
        for (int i = 0; i < runs; ++i)
            all << runChild(self, dir.path());
        const Run r = median(all);
        if (count == 10)
            few = r;
        std::printf("  %6d mandatarios: arranque %7.1f ms (razon %.2f, meta <= 1.5), memoria maxima %6.1f MB "
                    "(meta <= 80), pagina 2 %6.1f ms, editar %6.1f ms (metas < 50)\n",
                    count, r.start, r.start / few.start, double(r.memoryKb) / 1024.0, r.page2, r.edit);
    }
    return 0;
}
