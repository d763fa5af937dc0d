#include "ui/Help.h"

#include "ui/InstalledData.h"
#include "ui/Language.h"
#include "ui/Prompts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpViewer::HelpViewer(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(tr("NERVURIA - Aide"));
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpText"));
    m_browser->setOpenExternalLinks(false);
    auto *close = new QPushButton(tr("&Fermer"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_browser);
    layout->addWidget(close, 0, Qt::AlignRight);
    resize(640, 520);
}

HelpViewer &HelpViewer::instance()
{
    static HelpViewer *viewer = new HelpViewer;
    return *viewer;
}

bool HelpViewer::fileHasTopic(const QString &path, const QString &topic)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QString text = QString::fromUtf8(f.readAll());
    return text.contains(QStringLiteral("name=\"") + topic + QLatin1Char('"'));
}

bool HelpViewer::showTopic(const QString &topic)
{
    m_topic = topic;
    QString path = QDir::current().absoluteFilePath(kFileName);
    // No data folder was chosen: the help installed with the program.
    const QString installed = InstalledData::sampleFolder();
    if (!QFile::exists(path) && !installed.isEmpty() &&
        QFile::exists(QDir(installed).filePath(kFileName)))
        path = QDir(installed).filePath(kFileName);
    if (!QFile::exists(path)) {
        Prompts::current().message(Language::pick(QStringLiteral("Fichier d'aide introuvable : "),
                                                  QStringLiteral("Help file not found: ")) +
                                   path);
        return false;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        Prompts::current().message(path + QStringLiteral(" : ") + f.errorString());
        return false;
    }
    m_browser->setHtml(QString::fromUtf8(f.readAll()));
    m_browser->scrollToAnchor(topic);

    // Over whatever window is active, so that a modal work window does not
    // block it.
    QWidget *owner = QApplication::activeModalWidget();
    if (!owner)
        owner = QApplication::activeWindow();
    if (owner != this && parentWidget() != owner)
        setParent(owner, Qt::Dialog);
    open();
    raise();
    m_browser->scrollToAnchor(topic);
    return true;
}
