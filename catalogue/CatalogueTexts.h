#pragma once

#include "ui/Language.h"

#include <QString>

// The catalogue's messages, French or English by the language flag at the
// moment they are shown. The texts are the program's own, slips included.
//
// Each message is one row of the table below: its key (the name it is
// called by), its French text and its English text; %1 and %2 stand for
// the values given when it is shown. One look-up, Text's call, picks the
// language and puts the values in.
namespace CatalogueTexts
{

struct Text {
    const char *french; // UTF-8
    const char *english;

    QString operator()() const;
    QString operator()(const QString &value) const;
    QString operator()(int value) const;
};

// clang-format off
inline constexpr Text fileNotFound{"Erreur: fichier %1 non trouvé", "Error: file %1 not found"};
inline constexpr Text tooManyRows{"Fichier Profil invalide : plus de 256 lignes",
                                  "Invalid Airdoil File  : more than 256 lignes"};
// A file far larger than any coordinate file is not read at all.
inline constexpr Text tooLarge{"Fichier Profil invalide : plus de 1 Mo",
                               "Invalid Airfoil File : more than 1 MB"};
inline constexpr Text unusable{"Erreur : profil inutilisable.", "Error : aifoil unusable."};
inline constexpr Text tooFewPoints{"Erreur : le profil a moins de deux points.",
                                   "Error : airfoil has less than two points."};
inline constexpr Text xNotNumeric{"ligne n°%1 valeur x non numérique",
                                  "line  # %1 x value not numeric"};
inline constexpr Text yNotNumeric{"ligne n°%1 valeur y non numérique",
                                  "line  # %1 y value not numeric"};
inline constexpr Text sequenceError{"Erreur de séquence X ", "X ascending/descending sort error "};
inline constexpr Text firstX{"la première coordonnée X devrait être 1.00000",
                             "First X coordinate should be 1.00000"};
inline constexpr Text firstY{"la première coordonnée Y devrait être 0.00000",
                             "First Y coordinate should be 0.00000"};
inline constexpr Text lastX{"la derière coordonnée X devrait être 1.00000",
                            "last X coordinate should be 1.00000"};
inline constexpr Text lastY{"la dermière coordonnée Y devrait être 0.00000",
                            "Last Y coordinate should be 0.00000"};
inline constexpr Text leadingEdgeX{"la coordonnée X du bord d'attaque devrait être 0.00000",
                                   "X coordinate for leading edge should be 0.00000"};
inline constexpr Text leadingEdgeY{"la coordonnée Y du bord d'attaque (x=0) devrait être 0.00000",
                                   "Y coordinate for leading edge (x=0) should be 0.00000"};
inline constexpr Text rowPrefix{"Ligne n°", "Line  # "};
inline constexpr Text correctionFailed{"CORRECTION AUTOMATIQUE IMPOSSIBLE",
                                       "AUTOMATED CORRECTION FAILED"};
inline constexpr Text rewriteQuestion{"Enregistrer le profil corrigé sur %1 ?",
                                      "Rewrite corrected airfoil on %1 ?"};
inline constexpr Text airfoilsMissing{"Dossier Airfoils non trouvé dans le dossier de lancement.",
                                      "Airfoils folder not found in start folder."};
inline constexpr Text databaseMissing{
    "Le fichier \"Profils.pro\" n'a pas été trouvé dans %1. L'enregistrement des sélections ne "
    "sera pas autorisé.",
    "\"Profils.pro\" file not found in %1 folder. Saving sélections should be forbidden."};
inline constexpr Text refuseFaulty{
    "Il n'est pas possible de sélectionner un profil erroné. Corrigez les erreurs "
    "automatiquement ou manuellement.",
    "Select a non valid airfoil is not autorized. Correct errors automatically or manually."};
// Adding refused while corrections are on show only: the file on disk, which
// is what gets stored, is still the faulty one.
inline constexpr Text writeBackFirst{
    "Le profil a été corrigé à l'écran mais pas dans son fichier. Enregistrez d'abord le fichier "
    "corrigé (\"Enregistr.Profil\"), puis ajoutez-le à Profils.pro.",
    "The airfoil was corrected on screen but not in its file. Write the corrected file back "
    "first (\"Enregistr.Profil\"), then add it to Profils.pro."};
// The rewrite refused: the errors that remain follow this line.
inline constexpr Text notRewritten{
    "Le profil corrigé n'est pas enregistré : la vérification trouve encore ces erreurs :",
    "The corrected airfoil is not written: the check still finds these errors:"};
inline constexpr Text duplicateQuestion{
    "Ce profil existe déjà dans Profils.pro. Annuler l'ajout ?",
    "This airfoil already exists in Profils.pro. Cancel addition ?"};
inline constexpr Text addQuestion{"Ajouter le profil %1 à Profils.pro ?",
                                  "Add airfoil %1 to Profils.pro ?"};
inline constexpr Text importFilesCaption{"Fichiers de coordonnées à importer",
                                         "Coordinate files to import"};
inline constexpr Text importFilter{
    "Coordonnées (*.dat *.DAT *.txt *.TXT *.csv *.cor);;Tous les fichiers (*)",
    "Coordinates (*.dat *.DAT *.txt *.TXT *.csv *.cor);;All files (*)"};
inline constexpr Text importFolderCaption{"Dossier du catalogue où écrire les profils importés",
                                          "Catalogue folder to write the imported airfoils in"};
inline constexpr Text importFolderRefused{
    "Choisissez un dossier à l'intérieur du dossier Airfoils (pas Airfoils lui-même, dont les "
    "fichiers ne sont pas listés).",
    "Choose a folder inside the Airfoils folder (not Airfoils itself, whose files are not "
    "listed)."};
inline constexpr Text replaceQuestion{"Le fichier %1 existe déjà. Le remplacer ?",
                                      "The file %1 already exists. Replace it ?"};
inline constexpr Text normaliseNeedsFile{
    "Pour être normalisé, le profil doit être lu en entier, sans ligne illisible.",
    "To be normalised, the airfoil must be read whole, with no unreadable line."};
inline constexpr Text closeQuestion{
    "Le bord de fuite est ouvert (épaisseur %1 % de la corde). Le fermer en pliant l'arrière des "
    "deux surfaces ?\n(Non : il reste ouvert, et le profil ne pourra pas être ajouté à "
    "Profils.pro tel quel.)",
    "The trailing edge is open (%1 % of the chord thick). Close it by bending the rear of both "
    "surfaces ?\n(No: it stays open, and the airfoil cannot be added to Profils.pro as it is.)"};
inline constexpr Text normalisedMove{
    "Profil normalisé : le point le plus déplacé a bougé de %1 % de la corde.",
    "Airfoil normalised: the point that moved most moved by %1 % of the chord."};
inline constexpr Text stillOpen{
    " Le bord de fuite reste ouvert : le profil ne pourra pas être ajouté à Profils.pro tel "
    "quel.",
    " The trailing edge stays open: the airfoil cannot be added to Profils.pro as it is."};
inline constexpr Text helpTopic{"CATALOGUE", "DATABASE"};
// A folder's listing: its progress, its count (files read, files the reader
// refuses), and a listing stopped by the user (files read, files in all).
inline constexpr Text listingProgress{"Lecture de %1 fichiers…", "Reading %1 files…"};
inline constexpr Text listed{"%1 fichiers lus, %2 refusés.", "%1 files read, %2 refused."};
inline constexpr Text listingCancelled{"Lecture annulée : %1 fichiers lus sur %2.",
                                       "Reading cancelled: %1 of %2 files read."};
// clang-format on

// The normalisation's report: the largest move, and whether the trailing
// edge stays open.
inline QString normalised(const QString &movePercent, bool open)
{
    return normalisedMove(movePercent) + (open ? stillOpen() : QString());
}

// A failed file operation: the file and the system's reason.
inline QString fileError(const QString &path, const QString &reason)
{
    return path + QStringLiteral(" : ") + reason;
}

} // namespace CatalogueTexts
