#include "export/ConstanciaPdf.h"

#include "export/Constancia.h"
#include "platform/Falla.h"
#include "platform/Files.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>

namespace {

const QString kEstilo = QStringLiteral(
    "h1 { font-size: 15pt; } h2 { font-size: 10.5pt; margin-top: 10px; margin-bottom: 4px; }"
    "table.filas { font-size: 8pt; border-collapse: collapse; } table.filas th, table.filas td { border: 1px solid "
    "#777; padding: 2px; } table.filas th { background-color: #e4e4e4; } table.datos td { padding-right: 12px; }"
    "p.archivo { white-space: nowrap; } span.hash { font-family: 'DejaVu Sans Mono', 'Courier New', monospace; "
    "font-size: 8pt; }");

// Lays the parts out on the device's A4 pages, each part from a page of its own, numbering the pages at their foot.
class Paginas {
public:
    explicit Paginas(QPagedPaintDevice& device) : device_(device) {
        device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                         QPageLayout::Millimeter));
        listo_ = painter_.begin(&device);
        QFont pie = painter_.font();
        pie.setPointSizeF(8);
        painter_.setFont(pie);
    }

    void agrega(const QString& html) {
        QTextDocument doc;
        doc.documentLayout()->setPaintDevice(&device_);
        QFont font = doc.defaultFont();
        font.setPointSizeF(9);
        // Ligatures would reach a reader of the text ("ﬁrmante") as one character of their own.
        font.setStyleStrategy(QFont::PreferNoShaping);
        doc.setDefaultFont(font);
        doc.setDefaultStyleSheet(kEstilo);
        // A CURP, an RFC, a date or a file name is read whole: broken inside, it would read as two.
        QTextOption opcion = doc.defaultTextOption();
        opcion.setWrapMode(QTextOption::WordWrap);
        doc.setDefaultTextOption(opcion);
        doc.setHtml(html);
        const double ancho = device_.width();
        const double pie = painter_.fontMetrics().height() * 2.0;
        const double alto = device_.height() - pie;
        doc.setPageSize(QSizeF(ancho, alto));
        for (int i = 0; i < doc.pageCount(); ++i) {
            if (pagina_++ > 0)
                device_.newPage();
            painter_.save();
            painter_.translate(0, -i * alto);
            doc.drawContents(&painter_, QRectF(0, i * alto, ancho, alto));
            painter_.restore();
            painter_.drawText(QRectF(0, alto, ancho, pie), Qt::AlignRight | Qt::AlignBottom,
                              QStringLiteral("Constancia de envío, página %1").arg(pagina_));
        }
    }

    // False when the device could not be painted on.
    bool listo() const { return listo_; }
    bool termina() { return painter_.end(); }

private:
    QPagedPaintDevice& device_;
    QPainter painter_;
    int pagina_ = 0;
    bool listo_ = false;
};

} // namespace

Constancia escribeConstancia(Store& store, const QString& dataFolder, const QString& patente, const QString& archivo,
                             const QDateTime& momento) {
    const QString carpeta = carpetaConstancias(dataFolder);
    makePrivateFolder(carpeta);
    Constancia constancia{QDir(carpeta).filePath(nombreConstancia(patente, momento)), {}};
    AtomicFile file(constancia.ruta);
    const auto noEscrita = [&] {
        return Falla(QStringLiteral("No se pudo escribir la constancia de envío %1 (%2).")
                         .arg(QDir::toNativeSeparators(constancia.ruta), file.errorString()));
    };
    if (!file.open() || !file.setOwnerOnly())
        throw noEscrita();
    {
        QPdfWriter writer(file.device());
        writer.setTitle(QStringLiteral("Constancia de envío %1").arg(patente));
        writer.setCreator(QStringLiteral("TOLVEK 3"));
        writer.setResolution(300);
        Paginas paginas(writer);
        if (!paginas.listo())
            throw noEscrita();
        armaConstancia(store, patente, archivo, momento, [&](const QString& html) {
            paginas.agrega(html);
            constancia.partes << qCompress(html.toUtf8());
        });
        if (!paginas.termina())
            throw noEscrita();
    }
    if (!file.commit())
        throw noEscrita();
    return constancia;
}

void Imprime_Constancia(QWidget* parent, const Constancia& constancia) {
    QPrinter printer;
    printer.setDocName(QFileInfo(constancia.ruta).completeBaseName());
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("frmConstancia"));
    dialog.setWindowTitle(QStringLiteral("Constancia de envío"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* p) {
        Paginas paginas(*p);
        if (!paginas.listo())
            return;
        for (const QByteArray& parte : constancia.partes)
            paginas.agrega(QString::fromUtf8(qUncompress(parte)));
        paginas.termina();
    });
    dialog.exec();
}
