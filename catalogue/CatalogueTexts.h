#pragma once

#include "ui/Language.h"

#include <QString>

// The catalogue's messages, French or English by the language flag at the
// moment they are shown. The texts are the program's own, slips included.
namespace CatalogueTexts
{

inline QString fileNotFound(const QString &path)
{
    return Language::pick(QStringLiteral("Erreur: fichier ") + path + QStringLiteral(" non trouvé"),
                          QStringLiteral("Error: file ") + path + QStringLiteral(" not found"));
}
inline QString tooManyRows()
{
    return Language::pick(QStringLiteral("Fichier Profil invalide : plus de 256 lignes"),
                          QStringLiteral("Invalid Airdoil File  : more than 256 lignes"));
}
// A file far larger than any coordinate file is not read at all.
inline QString tooLarge()
{
    return Language::pick(QStringLiteral("Fichier Profil invalide : plus de 1 Mo"),
                          QStringLiteral("Invalid Airfoil File : more than 1 MB"));
}
inline QString unusable()
{
    return Language::pick(QStringLiteral("Erreur : profil inutilisable."),
                          QStringLiteral("Error : aifoil unusable."));
}
inline QString tooFewPoints()
{
    return Language::pick(QStringLiteral("Erreur : le profil a moins de deux points."),
                          QStringLiteral("Error : airfoil has less than two points."));
}
inline QString xNotNumeric(int row)
{
    return Language::pick(QStringLiteral("ligne n°%1 valeur x non numérique").arg(row),
                          QStringLiteral("line  # %1 x value not numeric").arg(row));
}
inline QString yNotNumeric(int row)
{
    return Language::pick(QStringLiteral("ligne n°%1 valeur y non numérique").arg(row),
                          QStringLiteral("line  # %1 y value not numeric").arg(row));
}
inline QString sequenceError()
{
    return Language::pick(QStringLiteral("Erreur de séquence X "),
                          QStringLiteral("X ascending/descending sort error "));
}
inline QString firstX()
{
    return Language::pick(QStringLiteral("la première coordonnée X devrait être 1.00000"),
                          QStringLiteral("First X coordinate should be 1.00000"));
}
inline QString firstY()
{
    return Language::pick(QStringLiteral("la première coordonnée Y devrait être 0.00000"),
                          QStringLiteral("First Y coordinate should be 0.00000"));
}
inline QString lastX()
{
    return Language::pick(QStringLiteral("la derière coordonnée X devrait être 1.00000"),
                          QStringLiteral("last X coordinate should be 1.00000"));
}
inline QString lastY()
{
    return Language::pick(QStringLiteral("la dermière coordonnée Y devrait être 0.00000"),
                          QStringLiteral("Last Y coordinate should be 0.00000"));
}
inline QString leadingEdgeX()
{
    return Language::pick(QStringLiteral("la coordonnée X du bord d'attaque devrait être 0.00000"),
                          QStringLiteral("X coordinate for leading edge should be 0.00000"));
}
inline QString leadingEdgeY()
{
    return Language::pick(
        QStringLiteral("la coordonnée Y du bord d'attaque (x=0) devrait être 0.00000"),
        QStringLiteral("Y coordinate for leading edge (x=0) should be 0.00000"));
}
inline QString rowPrefix()
{
    return Language::pick(QStringLiteral("Ligne n°"), QStringLiteral("Line  # "));
}
inline QString correctionFailed()
{
    return Language::pick(QStringLiteral("CORRECTION AUTOMATIQUE IMPOSSIBLE"),
                          QStringLiteral("AUTOMATED CORRECTION FAILED"));
}
inline QString rewriteQuestion(const QString &fileName)
{
    return Language::pick(
        QStringLiteral("Enregistrer le profil corrigé sur ") + fileName + QStringLiteral(" ?"),
        QStringLiteral("Rewrite corrected airfoil on ") + fileName + QStringLiteral(" ?"));
}
inline QString airfoilsMissing()
{
    return Language::pick(
        QStringLiteral("Dossier Airfoils non trouvé dans le dossier de lancement."),
        QStringLiteral("Airfoils folder not found in start folder."));
}
inline QString databaseMissing(const QString &startFolder)
{
    return Language::pick(
        QStringLiteral("Le fichier \"Profils.pro\" n'a pas été trouvé dans ") + startFolder +
            QStringLiteral(". L'enregistrement des sélections ne sera pas autorisé."),
        QStringLiteral("\"Profils.pro\" file not found in ") + startFolder +
            QStringLiteral(" folder. Saving sélections should be forbidden."));
}
inline QString refuseFaulty()
{
    return Language::pick(
        QStringLiteral("Il n'est pas possible de sélectionner un profil erroné. Corrigez les "
                       "erreurs automatiquement ou manuellement."),
        QStringLiteral("Select a non valid airfoil is not autorized. Correct errors automatically "
                       "or manually."));
}
// Adding refused while corrections are on show only: the file on disk, which
// is what gets stored, is still the faulty one.
inline QString writeBackFirst()
{
    return Language::pick(
        QStringLiteral("Le profil a été corrigé à l'écran mais pas dans son fichier. Enregistrez "
                       "d'abord le fichier corrigé (\"Enregistr.Profil\"), puis ajoutez-le à "
                       "Profils.pro."),
        QStringLiteral("The airfoil was corrected on screen but not in its file. Write the "
                       "corrected file back first (\"Enregistr.Profil\"), then add it to "
                       "Profils.pro."));
}
// The rewrite refused: the errors that remain follow this line.
inline QString notRewritten()
{
    return Language::pick(
        QStringLiteral("Le profil corrigé n'est pas enregistré : la vérification trouve encore "
                       "ces erreurs :"),
        QStringLiteral("The corrected airfoil is not written: the check still finds these "
                       "errors:"));
}
inline QString duplicateQuestion()
{
    return Language::pick(
        QStringLiteral("Ce profil existe déjà dans Profils.pro. Annuler l'ajout ?"),
        QStringLiteral("This airfoil already exists in Profils.pro. Cancel addition ?"));
}
inline QString addQuestion(const QString &fileName)
{
    return Language::pick(
        QStringLiteral("Ajouter le profil ") + fileName + QStringLiteral(" à Profils.pro ?"),
        QStringLiteral("Add airfoil ") + fileName + QStringLiteral(" to Profils.pro ?"));
}
inline QString importFilesCaption()
{
    return Language::pick(QStringLiteral("Fichiers de coordonnées à importer"),
                          QStringLiteral("Coordinate files to import"));
}
inline QString importFilter()
{
    return Language::pick(
        QStringLiteral("Coordonnées (*.dat *.DAT *.txt *.TXT *.csv *.cor);;Tous les fichiers (*)"),
        QStringLiteral("Coordinates (*.dat *.DAT *.txt *.TXT *.csv *.cor);;All files (*)"));
}
inline QString importFolderCaption()
{
    return Language::pick(QStringLiteral("Dossier du catalogue où écrire les profils importés"),
                          QStringLiteral("Catalogue folder to write the imported airfoils in"));
}
inline QString importFolderRefused()
{
    return Language::pick(
        QStringLiteral("Choisissez un dossier à l'intérieur du dossier Airfoils (pas Airfoils "
                       "lui-même, dont les fichiers ne sont pas listés)."),
        QStringLiteral("Choose a folder inside the Airfoils folder (not Airfoils itself, whose "
                       "files are not listed)."));
}
inline QString replaceQuestion(const QString &fileName)
{
    return Language::pick(
        QStringLiteral("Le fichier ") + fileName + QStringLiteral(" existe déjà. Le remplacer ?"),
        QStringLiteral("The file ") + fileName + QStringLiteral(" already exists. Replace it ?"));
}
inline QString normaliseNeedsFile()
{
    return Language::pick(
        QStringLiteral("Pour être normalisé, le profil doit être lu en entier, sans ligne "
                       "illisible."),
        QStringLiteral("To be normalised, the airfoil must be read whole, with no unreadable "
                       "line."));
}
inline QString closeQuestion(const QString &gapPercent)
{
    return Language::pick(
        QStringLiteral("Le bord de fuite est ouvert (épaisseur ") + gapPercent +
            QStringLiteral(" % de la corde). Le fermer en pliant l'arrière des deux surfaces ?\n"
                           "(Non : il reste ouvert, et le profil ne pourra pas être ajouté à "
                           "Profils.pro tel quel.)"),
        QStringLiteral("The trailing edge is open (") + gapPercent +
            QStringLiteral(" % of the chord thick). Close it by bending the rear of both "
                           "surfaces ?\n(No: it stays open, and the airfoil cannot be added to "
                           "Profils.pro as it is.)"));
}
inline QString normalised(const QString &movePercent, bool open)
{
    return Language::pick(
        QStringLiteral("Profil normalisé : le point le plus déplacé a bougé de ") + movePercent +
            QStringLiteral(" % de la corde.") +
            (open ? QStringLiteral(" Le bord de fuite reste ouvert : le profil ne pourra pas "
                                   "être ajouté à Profils.pro tel quel.")
                  : QString()),
        QStringLiteral("Airfoil normalised: the point that moved most moved by ") + movePercent +
            QStringLiteral(" % of the chord.") +
            (open ? QStringLiteral(" The trailing edge stays open: the airfoil cannot be added "
                                   "to Profils.pro as it is.")
                  : QString()));
}
inline QString helpTopic()
{
    return Language::pick(QStringLiteral("CATALOGUE"), QStringLiteral("DATABASE"));
}
// A failed file operation: the file and the system's reason.
inline QString fileError(const QString &path, const QString &reason)
{
    return path + QStringLiteral(" : ") + reason;
}

} // namespace CatalogueTexts
