#include "export/ConstanciaPdf.h"

#include "export/Constancia.h"
#include "platform/Falla.h"
#include "platform/Files.h"

#include <QAbstractTextDocumentLayout>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>

namespace {

const QString kEstilo =
    QStringLiteral("h1 { font-size: 15pt; } h2 { font-size: 10.5pt; margin-top: 10px; margin-bottom: 4px; }"
                   "table.datos td { padding-right: 12px; } p.archivo { white-space: nowrap; }"
                   "span.hash { font-family: 'DejaVu Sans Mono', 'Courier New', monospace; font-size: 8pt; }");

// Between words, and inside a word only when it is wider than its column: nothing is cut off.
QTextOption ajuste() {
    QTextOption opcion(Qt::AlignLeft | Qt::AlignTop);
    opcion.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return opcion;
}

QFont letra(double puntos, bool negrita = false) {
    QFont font;
    font.setPointSizeF(puntos);
    font.setBold(negrita);
    // Ligatures would reach a reader of the text ("ﬁrmante") as one character of their own.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

// Lays the constancia out on the device's A4 pages as it comes. Its tables are drawn row by row, not laid out by a
// text document, which takes a millisecond and more a row: a brokerage of 100,000 would wait minutes. A table cut
// by the end of a page goes on under its title and headings again.
class Paginas : public DestinoConstancia {
public:
    explicit Paginas(QPagedPaintDevice& device) : device_(device) {
        device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                         QPageLayout::Millimeter));
        listo_ = painter_.begin(&device);
        dpi_ = device.logicalDpiY();
        ancho_ = device.width();
        alto_ = device.height() - mm(6);
        borde_ = QPen(QColor(0x77, 0x77, 0x77), mm(0.2));
        nuevaPagina();
    }

    // False when the device could not be painted on.
    bool listo() const { return listo_; }
    bool termina() { return painter_.end(); }

    void texto(const QString& html) override {
        QTextDocument doc;
        doc.documentLayout()->setPaintDevice(&device_);
        doc.setDefaultFont(letra(9));
        doc.setDefaultStyleSheet(kEstilo);
        doc.setDocumentMargin(0);
        doc.setHtml(html);
        doc.setTextWidth(ancho_);
        const double alto = doc.size().height();
        espacio(alto);
        painter_.save();
        painter_.translate(0, y_);
        doc.drawContents(&painter_, QRectF(0, 0, ancho_, alto));
        painter_.restore();
        y_ += alto;
    }

    void tabla(const QString& titulo, const QStringList& encabezados, const QList<int>& anchos) override {
        titulo_ = titulo;
        encabezados_ = encabezados;
        anchos_.clear();
        // The outer border's width within the page.
        for (int a : anchos)
            anchos_ << (ancho_ - mm(0.2)) * a / 100.0;
        filas_ = 0;
    }

    void fila(const QStringList& celdas) override {
        const double alto = altoFila(celdas, celda_);
        if (filas_++ == 0) {
            espacio(altoTitulo() + altoFila(encabezados_, negrita_) + alto);
            cabeza(titulo_);
        } else if (y_ + alto > alto_) {
            nuevaPagina();
            cabeza(titulo_ + QStringLiteral(" (continúa)"));
        }
        dibujaFila(celdas, celda_, alto, false);
    }

    void cierra(const QString& sinFilas) override {
        if (filas_ > 0 || sinFilas.isEmpty())
            return;
        const QFontMetricsF fm(texto_, &device_);
        espacio(altoTitulo() + fm.height());
        titulo(titulo_);
        painter_.setFont(texto_);
        painter_.drawText(QRectF(0, y_, ancho_, fm.height()), Qt::AlignLeft | Qt::AlignTop, sinFilas);
        y_ += fm.height();
    }

private:
    double mm(double v) const { return v * dpi_ / 25.4; }

    void nuevaPagina() {
        if (pagina_++ > 0)
            device_.newPage();
        y_ = 0;
        painter_.setFont(pie_);
        painter_.drawText(QRectF(0, alto_, ancho_, device_.height() - alto_), Qt::AlignRight | Qt::AlignBottom,
                          QStringLiteral("Constancia de envío, página %1").arg(pagina_));
    }

    // What follows must start on a new page unless it fits on this one (or could fit on none).
    void espacio(double alto) {
        if (y_ > 0 && y_ + alto > alto_)
            nuevaPagina();
    }

    double altoTitulo() const { return mm(4) + QFontMetricsF(titulo_font_, &device_).height(); }

    void titulo(const QString& texto) {
        y_ += mm(3);
        painter_.setFont(titulo_font_);
        const double alto = QFontMetricsF(titulo_font_, &device_).height();
        painter_.drawText(QRectF(0, y_, ancho_, alto), Qt::AlignLeft | Qt::AlignTop, texto);
        y_ += alto + mm(1);
    }

    void cabeza(const QString& texto) {
        titulo(texto);
        dibujaFila(encabezados_, negrita_, altoFila(encabezados_, negrita_), true);
    }

    double altoFila(const QStringList& celdas, const QFont& font) const {
        const QFontMetricsF fm(font, &device_);
        double alto = fm.height();
        for (qsizetype i = 0; i < celdas.size() && i < anchos_.size(); ++i) {
            const double ancho = anchos_[i] - 2 * mm(0.8);
            // Measuring a wrap costs far more than measuring a line: only a cell too wide for its column pays it.
            if (fm.horizontalAdvance(celdas[i]) > ancho)
                alto = std::max(alto, altoAjustado(celdas[i], font, ancho));
        }
        return alto + 2 * mm(0.8);
    }

    double altoAjustado(const QString& texto, const QFont& font, double ancho) const {
        QTextLayout layout(texto, font, &device_);
        layout.setTextOption(ajuste());
        layout.beginLayout();
        double alto = 0;
        for (QTextLine linea = layout.createLine(); linea.isValid(); linea = layout.createLine()) {
            linea.setLineWidth(ancho);
            alto += linea.height();
        }
        layout.endLayout();
        return alto;
    }

    void dibujaFila(const QStringList& celdas, const QFont& font, double alto, bool fondo) {
        painter_.setFont(font);
        const QFontMetricsF fm(font, &device_);
        const double margen = mm(0.8);
        double x = 0;
        for (qsizetype i = 0; i < celdas.size() && i < anchos_.size(); ++i) {
            const QRectF celda(x, y_, anchos_[i], alto);
            if (fondo)
                painter_.fillRect(celda, QColor(0xe4, 0xe4, 0xe4));
            painter_.setPen(borde_);
            painter_.drawRect(celda);
            painter_.setPen(Qt::black);
            const QRectF dentro = celda.adjusted(margen, margen, -margen, -margen);
            // A line that fits is drawn as it is, far quicker than through the wrapping layout.
            if (const double linea = fm.horizontalAdvance(celdas[i]); linea <= dentro.width())
                painter_.drawText(
                    QPointF(dentro.left() + (fondo ? (dentro.width() - linea) / 2 : 0), dentro.top() + fm.ascent()),
                    celdas[i]);
            else
                painter_.drawText(dentro, celdas[i], ajuste());
            x += anchos_[i];
        }
        y_ += alto;
    }

    QPagedPaintDevice& device_;
    QPainter painter_;
    bool listo_ = false;
    double dpi_ = 72, ancho_ = 0, alto_ = 0, y_ = 0;
    int pagina_ = 0;
    const QFont texto_ = letra(9), celda_ = letra(8), negrita_ = letra(8, true), titulo_font_ = letra(10.5, true),
                pie_ = letra(8);
    QPen borde_;
    QString titulo_;
    QStringList encabezados_;
    QList<double> anchos_;
    int filas_ = 0;
};

enum class Pieza : quint8 { Texto, Tabla, Fila, Cierra };

// Passes the constancia on to the pages and keeps it, compressed a thousand rows at a time, to lay it out again for
// printing exactly as it was written.
class Grabacion : public DestinoConstancia {
public:
    Grabacion(DestinoConstancia& destino, QList<QByteArray>& partes) : destino_(destino), partes_(partes) {}

    void texto(const QString& html) override {
        escribe(Pieza::Texto, html);
        destino_.texto(html);
    }
    void tabla(const QString& titulo, const QStringList& encabezados, const QList<int>& anchos) override {
        escribe(Pieza::Tabla, titulo, encabezados, anchos);
        destino_.tabla(titulo, encabezados, anchos);
    }
    void fila(const QStringList& celdas) override {
        escribe(Pieza::Fila, celdas);
        destino_.fila(celdas);
        if (++filas_ % 1000 == 0)
            guarda();
    }
    void cierra(const QString& sinFilas) override {
        escribe(Pieza::Cierra, sinFilas);
        destino_.cierra(sinFilas);
    }
    void guarda() {
        if (!bytes_.isEmpty())
            partes_ << qCompress(bytes_);
        bytes_.clear();
    }

private:
    template <typename... T> void escribe(Pieza pieza, const T&... valores) {
        QDataStream out(&bytes_, QIODevice::Append);
        out << quint8(pieza);
        (out << ... << valores);
    }

    DestinoConstancia& destino_;
    QList<QByteArray>& partes_;
    QByteArray bytes_;
    qint64 filas_ = 0;
};

void reproduce(const QList<QByteArray>& partes, DestinoConstancia& destino) {
    for (const QByteArray& parte : partes) {
        QDataStream in(qUncompress(parte));
        QString texto;
        QStringList lista;
        QList<int> anchos;
        quint8 pieza;
        while (!in.atEnd()) {
            in >> pieza;
            switch (Pieza(pieza)) {
            case Pieza::Texto:
                in >> texto;
                destino.texto(texto);
                break;
            case Pieza::Tabla:
                in >> texto >> lista >> anchos;
                destino.tabla(texto, lista, anchos);
                break;
            case Pieza::Fila:
                in >> lista;
                destino.fila(lista);
                break;
            case Pieza::Cierra:
                in >> texto;
                destino.cierra(texto);
                break;
            }
        }
    }
}

} // namespace

// Removes the file being written on the way out unless it was put in place.
struct Temporal {
    WriteFile& file;
    bool enSuLugar = false;
    ~Temporal() {
        if (!enSuLugar)
            QFile::remove(file.path());
    }
};

Constancia escribeConstancia(Store& store, const QString& dataFolder, const QString& patente, const QString& archivo,
                             const QDateTime& momento) {
    const QString carpeta = carpetaConstancias(dataFolder);
    makePrivateFolder(carpeta);
    // What a run that broke off while writing one left under its temporary name is no constancia.
    const QDir dir(carpeta);
    for (const QString& resto : dir.entryList({QStringLiteral("*.pdf.??????")}, QDir::Files | QDir::Hidden))
        QFile::remove(dir.filePath(resto));
    Constancia constancia{QDir(carpeta).filePath(nombreConstancia(patente, momento)), {}};
    const QString nombre = QDir::toNativeSeparators(constancia.ruta);
    const auto noEscrita = [&](const WriteFailure& failure) {
        if (failure.diskFull())
            return Falla(
                QStringLiteral("No hay espacio suficiente en el disco para escribir el archivo %1.").arg(nombre));
        return Falla(QStringLiteral("No se pudo escribir el archivo %1 (%2).").arg(nombre, failure.reason));
    };
    // Written whole under a name of its own beside it, then renamed: a constancia is never found half-written.
    WriteFile file(constancia.ruta);
    if (!file.create(true))
        throw noEscrita(file.failure());
    Temporal temporal{file};
    {
        QPdfWriter writer(&file);
        writer.setTitle(QStringLiteral("Constancia de envío %1").arg(patente));
        writer.setCreator(QStringLiteral("TOLVEK 3"));
        writer.setResolution(300);
        Paginas paginas(writer);
        if (!paginas.listo())
            throw noEscrita(file.failure());
        Grabacion grabacion(paginas, constancia.partes);
        armaConstancia(store, patente, archivo, momento, grabacion);
        grabacion.guarda();
        if (!paginas.termina())
            throw noEscrita(file.failure());
    }
    WriteFailure failure;
    if (!file.finish())
        throw noEscrita(file.failure());
    if (!replaceFile(file.path(), constancia.ruta, &failure.reason))
        throw noEscrita(failure);
    temporal.enSuLugar = true;
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
        reproduce(constancia.partes, paginas);
        paginas.termina();
    });
    dialog.exec();
}
