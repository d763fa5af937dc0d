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
