#include "app/frmAyuda.h"

#include "ui_frmAyuda.h"

#include "platform/Messages.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>

namespace {

QUrl pagina(const QString& tema) {
    return QUrl(QStringLiteral("qrc:/ayuda/%1.md").arg(tema));
}

// The manual links to a section as the repository's Markdown viewers name it ("Generación y firma" is
// #generación-y-firma); the engine gives headings no names of its own, so each gets that one.
void nombraTitulos(QTextDocument* document) {
    static const QRegularExpression ajenos(QStringLiteral("[^\\w\\- ]"),
                                           QRegularExpression::UseUnicodePropertiesOption);
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0)
            continue;
        QTextCharFormat ancla;
        ancla.setAnchor(true);
        ancla.setAnchorNames({block.text().toLower().remove(ajenos).replace(QLatin1Char(' '), QLatin1Char('-'))});
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(ancla);
    }
}

} // namespace

frmAyuda::frmAyuda(const QString& tema, std::function<QString()> acercaDe, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmAyuda>()), acercaDe_(std::move(acercaDe)) {
    Q_INIT_RESOURCE(ayuda);
    ui->setupUi(this);
    connect(ui->cmdIndice, &QPushButton::clicked, this, [this] { muestraTema(QStringLiteral("indice")); });
    connect(ui->cmdAcercaDe, &QPushButton::clicked, this,
            [this] { inform(this, acercaDe_(), MessageIcon::Information, QStringLiteral("Acerca de TOLVEK 3")); });
    connect(ui->cmdCerrar, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->txtAyuda, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        nombraTitulos(ui->txtAyuda->document());
        if (url.hasFragment())
            ui->txtAyuda->scrollToAnchor(url.fragment());
    });
    muestraTema(tema);
}

frmAyuda::~frmAyuda() = default;

void frmAyuda::muestraTema(const QString& tema) {
    ui->txtAyuda->setSource(pagina(tema), QTextDocument::MarkdownResource);
    ui->txtAyuda->setFocus();
}
