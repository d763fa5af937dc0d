#include <QApplication>
#include <QDir>
#include <QListWidget>

#include "app/Prompts.h"
#include "profiles/ProfileStore.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("NERVURIA"));
    ProfileStore store;
    store.LoadProfileDatabase();
    QListWidget list;
    list.setWindowTitle(QStringLiteral("NERVURIA"));
    list.addItems(store.names());
    list.resize(400, 300);
    list.show();
    return app.exec();
}
