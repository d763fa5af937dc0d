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

    // Every key, named once: its section, then its name there.
    // clang-format off
    static constexpr const char
        // The drawing window's last profile (its name) and template (0-based).
        *kProfile           = "drawing/profile",
        *kTemplate          = "drawing/template",
        // The catalogue's folder (its path) and list: 0 folder, 1 Profils.pro,
        // 2 search; the search text.
        *kCatalogueFolder   = "catalogue/folder",
        *kCatalogueList     = "catalogue/list",
        *kCatalogueSearch   = "catalogue/search",
        // The export dialog's format, sheet, gap and kerf (mm), and the folder
        // of the last file written.
        *kExportFormat      = "export/format",
        *kExportSheetWidth  = "export/sheetWidth",
        *kExportSheetHeight = "export/sheetHeight",
        *kExportGap         = "export/gap",
        *kExportKerf        = "export/kerf",
        *kExportFolder      = "export/folder",
        // The print preview's zoom in percent; 0 fits the page to the window.
        *kPreviewZoom       = "preview/zoom";
    // clang-format on

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
