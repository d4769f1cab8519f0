#include "app/AyudaF1.h"

#include "app/frmAyuda.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStackedWidget>

#include <utility>

namespace {

const QString kIndice = QStringLiteral("indice");

// Windows and wizard pages by objectName, with the manual's page that explains them.
const std::pair<const char*, const char*> kTemas[] = {
    {"frmInicio", "indice"},
    {"frAA", "agente"},
    {"frApoderado", "representantes"},
    {"frmApoderado", "representante"},
    {"frmAduanaAct", "aduanas"},
    {"frmPedTramitados", "aduanas"},
    {"frAA21311", "historico_agente"},
    {"frmAgentes_Aduanales", "historico_agente"},
    {"frmPeriodo_Agente", "historico_agente"},
    {"frMandatarios", "historico_aspirantes"},
    {"frmPeriodo_Mandatario", "historico_aspirantes"},
    {"frmKey", "envio"},
    {"frmVistaPrevia", "envio"},
    {"frmRevision", "revision"},
    {"frmConstancia", "constancia"},
};

} // namespace

AyudaF1::AyudaF1(std::function<QString()> acercaDe, QObject* parent) : QObject(parent), acercaDe_(std::move(acercaDe)) {
    qApp->installEventFilter(this);
}

QString AyudaF1::temaDe(const QWidget* window) {
    QString name = window->objectName();
    if (const auto* paginas = window->findChild<QStackedWidget*>(QStringLiteral("paginas"));
        paginas && paginas->currentWidget())
        name = paginas->currentWidget()->objectName();
    for (const auto& [objeto, tema] : kTemas)
        if (name == QLatin1String(objeto))
            return QString::fromLatin1(tema);
    return kIndice;
}

bool AyudaF1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1)
        return false;
    // A held key would open the manual and then turn it to its index.
    if (static_cast<QKeyEvent*>(event)->isAutoRepeat())
        return true;
    QWidget* window = QApplication::activeModalWidget();
    const bool modal = window != nullptr;
    if (!window)
        if (auto* widget = qobject_cast<QWidget*>(watched))
            window = widget->window();
    if (!window)
        window = QApplication::activeWindow();
    if (!window)
        return false;
    abre(window, modal);
    return true;
}

void AyudaF1::abre(QWidget* window, bool modal) {
    // F1 within the manual leads back to its index.
    if (auto* ayuda = qobject_cast<frmAyuda*>(window)) {
        ayuda->muestraTema(kIndice);
        return;
    }
    const QString tema = temaDe(window);
    if (modal) {
        frmAyuda ayuda(tema, acercaDe_, window);
        ayuda.exec();
        return;
    }
    if (!abierta_) {
        abierta_ = new frmAyuda(tema, acercaDe_, window);
        abierta_->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        abierta_->muestraTema(tema);
    }
    abierta_->show();
    abierta_->raise();
    abierta_->activateWindow();
}
