#pragma once

#include <QString>
#include <QVariant>

class QWidget;

// What the program remembers between runs, in the user's settings
// (QSettings of the program's name): each key is named here once. Values
// that are missing or of the wrong type read as the given default, so a
// damaged or foreign settings file changes nothing but the memory.
class Memory
{
public:
    // The settings file: <config>/NERVURIA/<program name>.conf.
    static inline const QString kOrganisation = QStringLiteral("NERVURIA");

    // The drawing window's last profile (its name) and template (0-based).
    static inline const QString kProfile = QStringLiteral("drawing/profile");
    static inline const QString kTemplate = QStringLiteral("drawing/template");
    // The catalogue's folder (its path) and list: 0 folder, 1 Profils.pro,
    // 2 search; the search text.
    static inline const QString kCatalogueFolder = QStringLiteral("catalogue/folder");
    static inline const QString kCatalogueList = QStringLiteral("catalogue/list");
    static inline const QString kCatalogueSearch = QStringLiteral("catalogue/search");
    // The export dialog's format, sheet, gap and kerf (mm), and the folder
    // of the last file written.
    static inline const QString kExportFormat = QStringLiteral("export/format");
    static inline const QString kExportSheetWidth = QStringLiteral("export/sheetWidth");
    static inline const QString kExportSheetHeight = QStringLiteral("export/sheetHeight");
    static inline const QString kExportGap = QStringLiteral("export/gap");
    static inline const QString kExportKerf = QStringLiteral("export/kerf");
    static inline const QString kExportFolder = QStringLiteral("export/folder");
    // The print preview's zoom in percent; 0 fits the page to the window.
    static inline const QString kPreviewZoom = QStringLiteral("preview/zoom");

    // Off until the program turns it on at start-up: tests and command-line
    // runs neither read nor change the user's settings unless they ask.
    static void setEnabled(bool enabled);
    static bool enabled();

    static QString text(const QString &key, const QString &otherwise = QString());
    static int number(const QString &key, int otherwise, int low, int high);
    static double real(const QString &key, double otherwise, double low, double high);
    static void set(const QString &key, const QVariant &value);

    // A window's size and place, by its object name: put back at its first
    // showing (when remembered), kept at each hiding.
    static void keepGeometry(QWidget *window);
};
