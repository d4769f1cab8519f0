#include "export/Constancia.h"

#include "data/Schema.h"
#include "data/Store.h"
#include "export/VistaPrevia.h"
#include "platform/Falla.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>

namespace {

constexpr int kFilasPorLectura = 500;

QString nativo(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString nombreCompleto(const QString& nombre, const QString& paterno, const QString& materno) {
    return QStringList{nombre, paterno, materno}.join(QLatin1Char(' ')).simplified();
}

QString oGuion(const QString& text) {
    return text.isEmpty() ? QStringLiteral("—") : text;
}

// What the signed file itself tells: it is read whole once for them before anything is laid out.
struct Resumen {
    qint64 bytes = 0;
    QString sha256;
    CuentaRegistros registros;
    QString curpFirmante;
};

// Each line through `linea`, without its line end; the bytes as they lie through `bytes`.
void recorreArchivo(const QString& archivo, const std::function<void(QByteArrayView bytes, QByteArrayView linea)>& f) {
    QFile file(archivo);
    const auto ilegible = [&] {
        return Falla(QStringLiteral("No se pudo leer el archivo de información %1 (%2).")
                         .arg(nativo(archivo), file.errorString()));
    };
    if (!file.open(QIODevice::ReadOnly))
        throw ilegible();
    while (!file.atEnd()) {
        const QByteArray bytes = file.readLine();
        if (file.error() != QFileDevice::NoError)
            throw ilegible();
        QByteArrayView linea(bytes);
        if (linea.endsWith('\n'))
            linea.chop(1);
        if (linea.endsWith('\r'))
            linea.chop(1);
        f(bytes, linea);
    }
}

Resumen resume(const QString& archivo) {
    Resumen r;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray ultima;
    recorreArchivo(archivo, [&](QByteArrayView bytes, QByteArrayView linea) {
        hash.addData(bytes);
        r.bytes += bytes.size();
        r.registros.agrega(linea);
        ultima = linea.toByteArray();
    });
    r.sha256 = QString::fromLatin1(hash.result().toHex());
    // The signature line the library appends: FIRMA|<CURP of the signer>|<signature>.
    const QList<QByteArray> firma = ultima.split('|');
    if (firma.size() != 3 || firma[0] != "FIRMA")
        throw Falla(QStringLiteral("El archivo de información %1 no termina en su línea de Firma Digital.")
                        .arg(nativo(archivo)));
    r.curpFirmante = QString::fromLatin1(firma[1]);
    return r;
}

QString datos(const QList<std::pair<QString, QString>>& pares) {
    QString html = QStringLiteral("<table class=\"datos\">");
    for (const auto& [dato, valor] : pares)
        html += QStringLiteral("<tr><td><b>%1:</b></td><td>%2</td></tr>").arg(dato, valor.toHtmlEscaped());
    return html + QStringLiteral("</table>");
}

void encabezado(DestinoConstancia& destino, Store& store, const QString& patente, const QString& archivo,
                const QDateTime& momento, const Resumen& r) {
    const std::optional<AgenteAduanal> agente = store.agente();
    destino.texto(
        QStringLiteral("<h1>Constancia de envío</h1>") +
        datos({
            {QStringLiteral("Patente"), patente},
            {QStringLiteral("Agente Aduanal"),
             oGuion(agente ? nombreCompleto(agente->nombre, agente->apPaterno, agente->apMaterno) : QString())},
            {QStringLiteral("RFC"), oGuion(agente ? agente->rfc : QString())},
            {QStringLiteral("CURP"), oGuion(agente ? agente->curp : QString())},
            {QStringLiteral("Fecha y hora"), momento.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))},
        }) +
        // Name, size and hash on one line, as the broker compares them with the file he sends.
        QStringLiteral("<h2>Archivo de información</h2><p class=\"archivo\">%1 &nbsp; %2 bytes &nbsp; SHA-256 <span "
                       "class=\"hash\">%3</span></p><p>Firmado con la llave del Agente Aduanal, CURP del firmante "
                       "%4.</p>")
            .arg(QFileInfo(archivo).fileName().toHtmlEscaped())
            .arg(r.bytes)
            .arg(r.sha256, r.curpFirmante.toHtmlEscaped()));
    destino.tabla(QStringLiteral("Registros por tipo"), {QStringLiteral("Tipo"), QStringLiteral("Registros")},
                  {22, 12});
    for (const auto& [tipo, n] : r.registros.tipos())
        destino.fila({tipo, QString::number(n)});
    destino.fila({QStringLiteral("Total"), QString::number(r.registros.total())});
    destino.cierra({});
}

void representantes(DestinoConstancia& destino, Store& store) {
    destino.tabla(QStringLiteral("Representantes"),
                  {QStringLiteral("Nombre"), QStringLiteral("CURP"), QStringLiteral("RFC"), QStringLiteral("Mandato"),
                   QStringLiteral("Requerimiento"), QStringLiteral("Copiado")},
                  {17, 20, 15, 20, 20, 8});
    for (qsizetype offset = 0;;) {
        const QList<FilaMandatario> filas = store.filasMandatarios(offset, kFilasPorLectura);
        for (const FilaMandatario& m : filas) {
            // The generation copies the request file of these types, and of no other, or refuses to sign.
            const bool copiado = reglas(m.mandato).copiaRequerimiento;
            destino.fila({nombreCompleto(m.nombre, m.apPaterno, m.apMaterno), m.curp, m.rfc,
                          oGuion(mandatoText(m.mandato)), oGuion(QFileInfo(m.requerimiento).fileName()),
                          copiado ? QStringLiteral("Sí") : QStringLiteral("No")});
        }
        if (filas.size() < kFilasPorLectura)
            break;
        offset += filas.size();
    }
    destino.cierra(QStringLiteral("Ninguno."));
}

// The history records as the file carries them: a table each, in file order, its filler line read as no row.
struct Historia {
    TableDefinition tabla;
    QString titulo;
    QStringList encabezados;
    QList<int> anchos;
    // The first value of the filler line; null for a record that has none.
    QString filler;
    // The values a row of it carries.
    qsizetype campos;
    std::function<QStringList(const QStringList& campos)> celdas;
};

void historia(DestinoConstancia& destino, Store& store, const QString& archivo) {
    QHash<qint64, QString> aduanas;
    for (const Aduana& a : store.aduanas())
        aduanas.insert(a.numero, a.nombre);
    const auto aduana = [&](const QString& numero) {
        const QString nombre = aduanas.value(numero.toLongLong());
        return nombre.isEmpty() ? numero : numero + QLatin1Char(' ') + nombre;
    };
    const auto fecha = [](const QString& iso) {
        const QDate date = QDate::fromString(iso, Qt::ISODate);
        return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : iso;
    };
    const QString curp = QStringLiteral("CURP"), desde = QStringLiteral("Desde"), al = QStringLiteral("Hasta");
    // Fields after the tag and the patente.
    const QList<Historia> tablas = {
        {tabla::Historico_AA,
         QStringLiteral("Representantes anteriores"),
         {QStringLiteral("Nombre"), curp, QStringLiteral("RFC")},
         {40, 20, 15},
         QStringLiteral("No Aplica"),
         5,
         [](const QStringList& c) {
             return QStringList{nombreCompleto(c[2], c[3], c[4]), c[1], c[0]};
         }},
        {tabla::Periodos_H_AA,
         QStringLiteral("Periodos de los representantes anteriores"),
         {curp, QStringLiteral("Aduana"), desde, al},
         {20, 56, 12, 12},
         {},
         4,
         [&](const QStringList& c) {
             return QStringList{c[0], aduana(c[1]), fecha(c[2]), fecha(c[3])};
         }},
        {tabla::Periodos_H_MM,
         QStringLiteral("Periodos de los aspirantes con otros Agentes Aduanales"),
         {curp, QStringLiteral("Patente"), QStringLiteral("Aduana"), desde, al},
         {20, 9, 47, 12, 12},
         QStringLiteral("No Plica"),
         5,
         [&](const QStringList& c) {
             return QStringList{c[0], c[2], aduana(c[1]), fecha(c[3]), fecha(c[4])};
         }},
    };
    qsizetype actual = -1;
    // Closes the tables before the k-th and opens it.
    const auto llegaA = [&](qsizetype k) {
        for (; actual < k; ++actual) {
            if (actual >= 0)
                destino.cierra(QStringLiteral("Ninguno."));
            if (actual + 1 < tablas.size())
                destino.tabla(tablas[actual + 1].titulo, tablas[actual + 1].encabezados, tablas[actual + 1].anchos);
        }
    };
    // The writer tags each record with its table's name.
    QList<QByteArray> tags;
    for (const Historia& h : tablas)
        tags << QString(h.tabla).toLatin1() + '|';
    recorreArchivo(archivo, [&](QByteArrayView, QByteArrayView linea) {
        for (qsizetype k = 0; k < tablas.size(); ++k) {
            if (!linea.startsWith(tags[k]))
                continue;
            llegaA(k);
            const QStringList campos = textoDelArchivo(linea).split(QLatin1Char('|')).mid(2);
            const bool filler = !tablas[k].filler.isNull() && campos.value(0) == tablas[k].filler;
            if (!filler && campos.size() >= tablas[k].campos)
                destino.fila(tablas[k].celdas(campos));
            return;
        }
    });
    if (actual < 0) {
        QStringList aspirantes;
        for (const ReglasMandato& tipo : tiposMandato())
            if (tipo.aspirante)
                aspirantes << tipo.texto;
        destino.texto(QStringLiteral("<h2>Historia</h2><p>El archivo no lleva historia: ningún representante tiene el "
                                     "mandato %1.</p>")
                          .arg(aspirantes.join(QStringLiteral(" o ")).toHtmlEscaped()));
    } else
        llegaA(tablas.size());
}

} // namespace

QString carpetaConstancias(const QString& dataFolder) {
    return QDir(dataFolder).filePath(QStringLiteral("constancias"));
}

QString nombreConstancia(const QString& patente, const QDateTime& momento) {
    return patente + momento.toString(QStringLiteral("-yyyyMMdd-HHmmss")) + QStringLiteral(".pdf");
}

void armaConstancia(Store& store, const QString& patente, const QString& archivo, const QDateTime& momento,
                    DestinoConstancia& destino) {
    encabezado(destino, store, patente, archivo, momento, resume(archivo));
    representantes(destino, store);
    historia(destino, store, archivo);
}
