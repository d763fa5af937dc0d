// The catalogue's messages, each in both languages with its values put in,
// word for word as the program has always shown them.
#include "catalogue/CatalogueTexts.h"
#include "ui/Language.h"

#include <QTest>

namespace
{

struct Expected {
    const char *name;
    QString (*text)();
    const char *french;
    const char *english;
};

// clang-format off
const Expected kTexts[] = {
    {"fileNotFound(<path>)", [] { return CatalogueTexts::fileNotFound(QStringLiteral("<path>")); },
        "Erreur: fichier <path> non trouvé",
        "Error: file <path> not found"},
    {"tooManyRows", [] { return CatalogueTexts::tooManyRows(); },
        "Fichier Profil invalide : plus de 256 lignes",
        "Invalid Airdoil File  : more than 256 lignes"},
    {"tooLarge", [] { return CatalogueTexts::tooLarge(); },
        "Fichier Profil invalide : plus de 1 Mo",
        "Invalid Airfoil File : more than 1 MB"},
    {"unusable", [] { return CatalogueTexts::unusable(); },
        "Erreur : profil inutilisable.",
        "Error : aifoil unusable."},
    {"tooFewPoints", [] { return CatalogueTexts::tooFewPoints(); },
        "Erreur : le profil a moins de deux points.",
        "Error : airfoil has less than two points."},
    {"xNotNumeric(7)", [] { return CatalogueTexts::xNotNumeric(7); },
        "ligne n°7 valeur x non numérique",
        "line  # 7 x value not numeric"},
    {"yNotNumeric(7)", [] { return CatalogueTexts::yNotNumeric(7); },
        "ligne n°7 valeur y non numérique",
        "line  # 7 y value not numeric"},
    {"sequenceError", [] { return CatalogueTexts::sequenceError(); },
        "Erreur de séquence X ",
        "X ascending/descending sort error "},
    {"firstX", [] { return CatalogueTexts::firstX(); },
        "la première coordonnée X devrait être 1.00000",
        "First X coordinate should be 1.00000"},
    {"firstY", [] { return CatalogueTexts::firstY(); },
        "la première coordonnée Y devrait être 0.00000",
        "First Y coordinate should be 0.00000"},
    {"lastX", [] { return CatalogueTexts::lastX(); },
        "la derière coordonnée X devrait être 1.00000",
        "last X coordinate should be 1.00000"},
    {"lastY", [] { return CatalogueTexts::lastY(); },
        "la dermière coordonnée Y devrait être 0.00000",
        "Last Y coordinate should be 0.00000"},
    {"leadingEdgeX", [] { return CatalogueTexts::leadingEdgeX(); },
        "la coordonnée X du bord d'attaque devrait être 0.00000",
        "X coordinate for leading edge should be 0.00000"},
    {"leadingEdgeY", [] { return CatalogueTexts::leadingEdgeY(); },
        "la coordonnée Y du bord d'attaque (x=0) devrait être 0.00000",
        "Y coordinate for leading edge (x=0) should be 0.00000"},
    {"rowPrefix", [] { return CatalogueTexts::rowPrefix(); },
        "Ligne n°",
        "Line  # "},
    {"correctionFailed", [] { return CatalogueTexts::correctionFailed(); },
        "CORRECTION AUTOMATIQUE IMPOSSIBLE",
        "AUTOMATED CORRECTION FAILED"},
    {"rewriteQuestion(<fileName>)", [] { return CatalogueTexts::rewriteQuestion(QStringLiteral("<fileName>")); },
        "Enregistrer le profil corrigé sur <fileName> ?",
        "Rewrite corrected airfoil on <fileName> ?"},
    {"airfoilsMissing", [] { return CatalogueTexts::airfoilsMissing(); },
        "Dossier Airfoils non trouvé dans le dossier de lancement.",
        "Airfoils folder not found in start folder."},
    {"databaseMissing(<startFolder>)", [] { return CatalogueTexts::databaseMissing(QStringLiteral("<startFolder>")); },
        "Le fichier \"Profils.pro\" n'a pas été trouvé dans <startFolder>. L'enregistrement des sélections ne sera pas autorisé.",
        "\"Profils.pro\" file not found in <startFolder> folder. Saving sélections should be forbidden."},
    {"refuseFaulty", [] { return CatalogueTexts::refuseFaulty(); },
        "Il n'est pas possible de sélectionner un profil erroné. Corrigez les erreurs automatiquement ou manuellement.",
        "Select a non valid airfoil is not autorized. Correct errors automatically or manually."},
    {"writeBackFirst", [] { return CatalogueTexts::writeBackFirst(); },
        "Le profil a été corrigé à l'écran mais pas dans son fichier. Enregistrez d'abord le fichier corrigé (\"Enregistr.Profil\"), puis ajoutez-le à Profils.pro.",
        "The airfoil was corrected on screen but not in its file. Write the corrected file back first (\"Enregistr.Profil\"), then add it to Profils.pro."},
    {"notRewritten", [] { return CatalogueTexts::notRewritten(); },
        "Le profil corrigé n'est pas enregistré : la vérification trouve encore ces erreurs :",
        "The corrected airfoil is not written: the check still finds these errors:"},
    {"duplicateQuestion", [] { return CatalogueTexts::duplicateQuestion(); },
        "Ce profil existe déjà dans Profils.pro. Annuler l'ajout ?",
        "This airfoil already exists in Profils.pro. Cancel addition ?"},
    {"addQuestion(<fileName>)", [] { return CatalogueTexts::addQuestion(QStringLiteral("<fileName>")); },
        "Ajouter le profil <fileName> à Profils.pro ?",
        "Add airfoil <fileName> to Profils.pro ?"},
    {"importFilesCaption", [] { return CatalogueTexts::importFilesCaption(); },
        "Fichiers de coordonnées à importer",
        "Coordinate files to import"},
    {"importFilter", [] { return CatalogueTexts::importFilter(); },
        "Coordonnées (*.dat *.DAT *.txt *.TXT *.csv *.cor);;Tous les fichiers (*)",
        "Coordinates (*.dat *.DAT *.txt *.TXT *.csv *.cor);;All files (*)"},
    {"importFolderCaption", [] { return CatalogueTexts::importFolderCaption(); },
        "Dossier du catalogue où écrire les profils importés",
        "Catalogue folder to write the imported airfoils in"},
    {"importFolderRefused", [] { return CatalogueTexts::importFolderRefused(); },
        "Choisissez un dossier à l'intérieur du dossier Airfoils (pas Airfoils lui-même, dont les fichiers ne sont pas listés).",
        "Choose a folder inside the Airfoils folder (not Airfoils itself, whose files are not listed)."},
    {"replaceQuestion(<fileName>)", [] { return CatalogueTexts::replaceQuestion(QStringLiteral("<fileName>")); },
        "Le fichier <fileName> existe déjà. Le remplacer ?",
        "The file <fileName> already exists. Replace it ?"},
    {"normaliseNeedsFile", [] { return CatalogueTexts::normaliseNeedsFile(); },
        "Pour être normalisé, le profil doit être lu en entier, sans ligne illisible.",
        "To be normalised, the airfoil must be read whole, with no unreadable line."},
    {"closeQuestion(<gapPercent>)", [] { return CatalogueTexts::closeQuestion(QStringLiteral("<gapPercent>")); },
        "Le bord de fuite est ouvert (épaisseur <gapPercent> % de la corde). Le fermer en pliant l'arrière des deux surfaces ?\n(Non : il reste ouvert, et le profil ne pourra pas être ajouté à Profils.pro tel quel.)",
        "The trailing edge is open (<gapPercent> % of the chord thick). Close it by bending the rear of both surfaces ?\n(No: it stays open, and the airfoil cannot be added to Profils.pro as it is.)"},
    {"normalised(<movePercent>,false)", [] { return CatalogueTexts::normalised(QStringLiteral("<movePercent>"),false); },
        "Profil normalisé : le point le plus déplacé a bougé de <movePercent> % de la corde.",
        "Airfoil normalised: the point that moved most moved by <movePercent> % of the chord."},
    {"normalised(<movePercent>,true)", [] { return CatalogueTexts::normalised(QStringLiteral("<movePercent>"),true); },
        "Profil normalisé : le point le plus déplacé a bougé de <movePercent> % de la corde. Le bord de fuite reste ouvert : le profil ne pourra pas être ajouté à Profils.pro tel quel.",
        "Airfoil normalised: the point that moved most moved by <movePercent> % of the chord. The trailing edge stays open: the airfoil cannot be added to Profils.pro as it is."},
    {"helpTopic", [] { return CatalogueTexts::helpTopic(); },
        "CATALOGUE",
        "DATABASE"},
    // A value holding a place marker of its own is put in as it stands.
    {"fileNotFound(a%1b)", [] { return CatalogueTexts::fileNotFound(QStringLiteral("a%1b")); },
        "Erreur: fichier a%1b non trouvé",
        "Error: file a%1b not found"},
    {"xNotNumeric(12)", [] { return CatalogueTexts::xNotNumeric(12); },
        "ligne n°12 valeur x non numérique",
        "line  # 12 x value not numeric"},
    {"fileError", [] { return CatalogueTexts::fileError(QStringLiteral("/a/b.dat"), QStringLiteral("Permission denied")); },
        "/a/b.dat : Permission denied",
        "/a/b.dat : Permission denied"},
};
// clang-format on

} // namespace

class TstCatalogueTexts : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { Language::setFrench(false); }
    void texts_data();
    void texts();
};

void TstCatalogueTexts::texts_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("french");
    for (int i = 0; i < int(std::size(kTexts)); ++i) {
        QTest::addRow("%s, French", kTexts[i].name) << i << true;
        QTest::addRow("%s, English", kTexts[i].name) << i << false;
    }
}

void TstCatalogueTexts::texts()
{
    QFETCH(int, index);
    QFETCH(bool, french);
    const Expected &e = kTexts[index];
    Language::setFrench(french);
    QCOMPARE(e.text(), QString::fromUtf8(french ? e.french : e.english));
}

QTEST_MAIN(TstCatalogueTexts)
#include "tst_cataloguetexts.moc"
