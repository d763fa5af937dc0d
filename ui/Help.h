#pragma once

#include <QDialog>
#include <QString>

class QTextBrowser;

// The help viewer: shows the help file NERVURIA.HLP of the working folder
// (an HTML text whose topics are named anchors) opened on a topic.
class HelpViewer : public QDialog
{
    Q_OBJECT
public:
    static inline const QString kFileName = QStringLiteral("NERVURIA.HLP");

    explicit HelpViewer(QWidget *parent = nullptr);

    // Opens the help file on the topic, over the active window. False, after
    // telling the user, when the file is missing.
    bool showTopic(const QString &topic);

    // The topic last asked for, and whether the file holds it.
    QString topic() const { return m_topic; }
    static bool fileHasTopic(const QString &path, const QString &topic);

    static HelpViewer &instance();

private:
    QTextBrowser *m_browser;
    QString m_topic;
};
