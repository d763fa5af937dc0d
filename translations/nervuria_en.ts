<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="fr">
<context>
    <name>CoordinateTable</name>
    <message>
        <source>x ext</source>
        <translation>x up</translation>
    </message>
    <message>
        <source>y ext</source>
        <translation>y up</translation>
    </message>
    <message>
        <source>x int</source>
        <translation>x low</translation>
    </message>
    <message>
        <source>y int</source>
        <translation>y low</translation>
    </message>
</context>
<context>
    <name>ExportDialog</name>
    <message>
        <source>NERVURIA - Exporter</source>
        <translation>NERVURIA - Export</translation>
    </message>
</context>
<context>
    <name>HelpViewer</name>
    <message>
        <source>NERVURIA - Aide</source>
        <translation>NERVURIA - Help</translation>
    </message>
    <message>
        <source>&amp;Fermer</source>
        <translation>&amp;Close</translation>
    </message>
</context>
<context>
    <name>HybridBlend</name>
    <message>
        <source>Vous devez donner un nom au profil hybride</source>
        <translation>You must give the hybrid airfoil a name</translation>
    </message>
    <message>
        <source>Vous avez oublié de choisir l&apos;épaisseur du coffrage</source>
        <translation>You forgot to choose the skin thickness</translation>
    </message>
    <message>
        <source>Un coffrage de moins de 4/10 mm ne peut pas être enregistré.</source>
        <translation>A skin thinner than 4/10 mm cannot be stored.</translation>
    </message>
    <message>
        <source>Le nom du profil saisi existe déja. Voulez vous le remplacer?</source>
        <translation>An airfoil of that name already exists. Do you want to replace it?</translation>
    </message>
    <message>
        <source>Aucun profil d&apos;emplanture n&apos;est sélectionné.</source>
        <translation>No root airfoil is chosen.</translation>
    </message>
    <message>
        <source>Aucun profil de saumon n&apos;est sélectionné.</source>
        <translation>No tip airfoil is chosen.</translation>
    </message>
    <message>
        <source>Le profil %1 compte plus de 512 points : il ne peut pas être mélangé.</source>
        <translation>The airfoil %1 has more than 512 points: it cannot be blended.</translation>
    </message>
    <message>
        <source>Le profil %1 n&apos;a aucun point.</source>
        <translation>The airfoil %1 has no point.</translation>
    </message>
</context>
<context>
    <name>IntroPictures</name>
    <message>
        <source>Gabarits de nervures pour ailes de modèles réduits</source>
        <translation>Rib templates for model aircraft wings</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source> NERVURIA - Dessin de gabarits</source>
        <translation> NERVURIA - Template drawing</translation>
    </message>
    <message>
        <source>&amp;Fermer</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>&amp;Enregister</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>&amp;Imprimer</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>E&amp;xporter…</source>
        <translation>E&amp;xport…</translation>
    </message>
    <message>
        <source>&amp;Données</source>
        <translation>&amp;Data</translation>
    </message>
    <message>
        <source>&amp;Aide</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Coefficient</source>
        <translation>Smoothing</translation>
    </message>
    <message>
        <source>de lissage</source>
        <translation>factor</translation>
    </message>
    <message>
        <source>Choix du Profil</source>
        <translation>Airfoil</translation>
    </message>
    <message>
        <source>Choix du profil</source>
        <translation>Choose an airfoil</translation>
    </message>
    <message>
        <source>Supprimer le profil</source>
        <translation>Delete the airfoil</translation>
    </message>
    <message>
        <source>Créer un profil hybride</source>
        <translation>Make a hybrid airfoil</translation>
    </message>
    <message>
        <source>Enregistrer fichier.dat</source>
        <translation>Save as .dat file</translation>
    </message>
    <message>
        <source>Panneau d&apos;aile…</source>
        <translation>Wing panel…</translation>
    </message>
    <message>
        <source>Affichage</source>
        <translation>Display</translation>
    </message>
    <message>
        <source>Axes</source>
        <translation>Axes</translation>
    </message>
    <message>
        <source>Cambrure</source>
        <translation>Camber</translation>
    </message>
    <message>
        <source>Points</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>Profil</source>
        <translation>Airfoil</translation>
    </message>
    <message>
        <source>Gabarit</source>
        <translation>Template</translation>
    </message>
    <message>
        <source>Gabarits</source>
        <translation>Templates</translation>
    </message>
    <message>
        <source>Aucun</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Nouveau</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Supprimer</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>CORDE</source>
        <translation>CHORD</translation>
    </message>
    <message>
        <source>Coffrage</source>
        <translation>Skin</translation>
    </message>
    <message>
        <source>Inclinaison</source>
        <translation>Incidence</translation>
    </message>
    <message>
        <source>Figures </source>
        <translation>Figures </translation>
    </message>
    <message>
        <source>Diamètre</source>
        <translation>Diameter</translation>
    </message>
    <message>
        <source>Hauteur</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>Angle</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>Zoom -</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>Zoom +</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>Ligne</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>Cercle</source>
        <translation>Circle</translation>
    </message>
    <message>
        <source>Demi-cercle</source>
        <translation>Half circle</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Triangle</translation>
    </message>
    <message>
        <source>Supprimer la figure</source>
        <translation>Delete the figure</translation>
    </message>
    <message>
        <source>Pour utiliser ce profil vous devez créer un gabarit (Bouton Nouveau)</source>
        <translation>To use this airfoil, make a template first (button New)</translation>
    </message>
    <message>
        <source>Erreur(s) </source>
        <translation>Error(s) </translation>
    </message>
    <message>
        <source>Valider</source>
        <translation>Check</translation>
    </message>
</context>
<context>
    <name>TForm2</name>
    <message>
        <source>NERVURIA - Nouveau gabarit</source>
        <translation>NERVURIA - New template</translation>
    </message>
    <message>
        <source>Corde en  mm</source>
        <translation>Chord in mm</translation>
    </message>
    <message>
        <source>Epais. Coffrage</source>
        <translation>Skin thickness</translation>
    </message>
    <message>
        <source>Autre</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>Copier les figures du gabarit en cours</source>
        <translation>Copy the figures of the current template</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TForm3</name>
    <message>
        <source>NERVURIA  - Aperçu avant impression</source>
        <translation>NERVURIA  - Print preview</translation>
    </message>
    <message>
        <source>Titre</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Libellé</source>
        <translation>Caption</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>Orientation</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Portrait</translation>
    </message>
    <message>
        <source>Paysage</source>
        <translation>Landscape</translation>
    </message>
    <message>
        <source>Aperçu page1</source>
        <translation>Preview page 1</translation>
    </message>
    <message>
        <source>Aperçu page2</source>
        <translation>Preview page 2</translation>
    </message>
    <message>
        <source>Page suivante</source>
        <translation>Next page</translation>
    </message>
    <message>
        <source>Configurer</source>
        <translation>Set up</translation>
    </message>
    <message>
        <source>Imprimer</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>(la page courante)</source>
        <translation>(the page shown)</translation>
    </message>
    <message>
        <source>Imprimer tout</source>
        <translation>Print all</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TForm4</name>
    <message>
        <source>Création de Profil hybride et de son gabarit</source>
        <translation>Hybrid airfoil and its template</translation>
    </message>
    <message>
        <source>Nom automatique</source>
        <translation>Automatic name</translation>
    </message>
    <message>
        <source>Calcul automatique de  la corde</source>
        <translation>Chord worked out automatically</translation>
    </message>
    <message>
        <source>Calculer et Afficher</source>
        <translation>Compute and show</translation>
    </message>
    <message>
        <source>Affichage en relief</source>
        <translation>Show in relief</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Nom du profil Hybride</source>
        <translation>Name of the hybrid airfoil</translation>
    </message>
    <message>
        <source>Corde mm</source>
        <translation>Chord mm</translation>
    </message>
    <message>
        <source>Angle °</source>
        <translation>Angle °</translation>
    </message>
    <message>
        <source>Profil de l&apos;emplanture</source>
        <translation>Root airfoil</translation>
    </message>
    <message>
        <source>Profil du saumon</source>
        <translation>Tip airfoil</translation>
    </message>
    <message>
        <source>Mélange en % du profil saumon</source>
        <translation>Blend in % of the tip airfoil</translation>
    </message>
    <message>
        <source>avec le profil emplanture</source>
        <translation>with the root airfoil</translation>
    </message>
    <message>
        <source>en fonction du pourcentage</source>
        <translation>according to the percentage</translation>
    </message>
    <message>
        <source>Epaiss.coffrage</source>
        <translation>Skin thickn.</translation>
    </message>
    <message>
        <source>Profil E</source>
        <translation>Airfoil R</translation>
    </message>
    <message>
        <source>Profil S</source>
        <translation>Airfoil T</translation>
    </message>
</context>
<context>
    <name>TFormfoam</name>
    <message>
        <source>NERVURIA - Noyaux en mousse : fil chaud et gabarits</source>
        <translation>NERVURIA - Foam cores: hot wire and templates</translation>
    </message>
    <message>
        <source>Découpe</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>Envergure du bloc mm</source>
        <translation>Block span mm</translation>
    </message>
    <message>
        <source>Écart des tours mm</source>
        <translation>Towers apart mm</translation>
    </message>
    <message>
        <source>Tour XY à l&apos;emplanture mm</source>
        <translation>XY tower to root mm</translation>
    </message>
    <message>
        <source>Saignée du fil mm</source>
        <translation>Wire kerf mm</translation>
    </message>
    <message>
        <source>Vrillage °</source>
        <translation>Washout °</translation>
    </message>
    <message>
        <source>Pivot % de la corde</source>
        <translation>Pivot % of chord</translation>
    </message>
    <message>
        <source>Flèche du saumon mm</source>
        <translation>Tip sweep mm</translation>
    </message>
    <message>
        <source>Vitesse mm/min</source>
        <translation>Feed mm/min</translation>
    </message>
    <message>
        <source>Avance</source>
        <translation>Feed mode</translation>
    </message>
    <message>
        <source>F sur X, Y, U et V ensemble</source>
        <translation>F along X, Y, U and V together</translation>
    </message>
    <message>
        <source>F en temps inverse (G93)</source>
        <translation>F in inverse time (G93)</translation>
    </message>
    <message>
        <source>Entrée du fil mm</source>
        <translation>Wire lead-in mm</translation>
    </message>
    <message>
        <source>Écrire le G-code…</source>
        <translation>Write the G-code…</translation>
    </message>
    <message>
        <source>Exporter les gabarits…</source>
        <translation>Export the templates…</translation>
    </message>
    <message>
        <source>&amp;Aide</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Fermer</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Emplanture en rouge, saumon en bleu, fil en vert, tours en pointillés</source>
        <translation>Root in red, tip in blue, wire in green, towers dashed</translation>
    </message>
    <message>
        <source>Mouvement</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>Écrire le G-code</source>
        <translation>Write the G-code</translation>
    </message>
    <message>
        <source>Exporter les gabarits</source>
        <translation>Export the templates</translation>
    </message>
    <message>
        <source>Mouvement %1 / %2 : X %3 Y %4 U %5 V %6 F %7</source>
        <translation>Move %1 / %2: X %3 Y %4 U %5 V %6 F %7</translation>
    </message>
    <message>
        <source>Imprimer les gabarits…</source>
        <translation>Print the templates…</translation>
    </message>
</context>
<context>
    <name>TFormkit</name>
    <message>
        <source>NERVURIA - Structure du panneau : longerons, coupes, pattes, allègements</source>
        <translation>NERVURIA - Panel structure: spars, cut-backs, tabs, lightening holes</translation>
    </message>
    <message>
        <source>Structure</source>
        <translation>Structure</translation>
    </message>
    <message>
        <source>calages du panneau</source>
        <translation>the panel&apos;s incidences</translation>
    </message>
    <message>
        <source>Vrillage °</source>
        <translation>Washout °</translation>
    </message>
    <message>
        <source>Pivot % de la corde</source>
        <translation>Pivot % of chord</translation>
    </message>
    <message>
        <source>Longerons</source>
        <translation>Spars</translation>
    </message>
    <message>
        <source>Coupe bord d&apos;attaque mm</source>
        <translation>Leading-edge cut-back mm</translation>
    </message>
    <message>
        <source>Coupe bord de fuite mm</source>
        <translation>Trailing-edge cut-back mm</translation>
    </message>
    <message>
        <source>Chantier sous le pivot mm</source>
        <translation>Board below the pivot mm</translation>
    </message>
    <message>
        <source>Pattes % de la corde</source>
        <translation>Tabs % of chord</translation>
    </message>
    <message>
        <source>Largeur des pattes mm</source>
        <translation>Tab width mm</translation>
    </message>
    <message>
        <source>Allègements, âme mm</source>
        <translation>Lightening holes, web mm</translation>
    </message>
    <message>
        <source>Ouvrir…</source>
        <translation>Open…</translation>
    </message>
    <message>
        <source>Enregistrer…</source>
        <translation>Save…</translation>
    </message>
    <message>
        <source>Exporter le kit…</source>
        <translation>Export the kit…</translation>
    </message>
    <message>
        <source>&amp;Aide</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Fermer</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Nervure n°</source>
        <translation>Rib no.</translation>
    </message>
    <message>
        <source>Plan (vue de dessus)</source>
        <translation>Plan (top view)</translation>
    </message>
    <message>
        <source>Panneau (*.json)</source>
        <translation>Panel (*.json)</translation>
    </message>
    <message>
        <source>par leur forme</source>
        <translation>by their shapes</translation>
    </message>
    <message>
        <source>en rangées</source>
        <translation>in rows</translation>
    </message>
    <message>
        <source>Quarts de tour (sans fil du bois)</source>
        <translation>Quarter turns (grain free)</translation>
    </message>
    <message>
        <source>Trait de coupe mm</source>
        <translation>Kerf mm</translation>
    </message>
    <message>
        <source>Placement</source>
        <translation>Nesting</translation>
    </message>
    <message>
        <source>Exemplaires</source>
        <translation>Copies</translation>
    </message>
    <message>
        <source>Imprimer…</source>
        <translation>Print…</translation>
    </message>
</context>
<context>
    <name>TFormlect</name>
    <message>
        <source> NERVURIA - Catalogue des Profils</source>
        <translation> NERVURIA - Airfoil catalogue</translation>
    </message>
    <message>
        <source>Fichier</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Chercher</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>&amp;Fermer</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>&amp;Aide</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Profils de Profils.pro</source>
        <translation>&amp;Airfoils in Profils.pro</translation>
    </message>
    <message>
        <source>Profils existants dans Profils.pro</source>
        <translation>Airfoils already in Profils.pro</translation>
    </message>
    <message>
        <source>Ajo&amp;uter à Profils.pro</source>
        <translation>Add &amp;to Profils.pro</translation>
    </message>
    <message>
        <source>Ajoute les sélections à Profils.pro</source>
        <translation>Adds the chosen airfoils to Profils.pro</translation>
    </message>
    <message>
        <source> Auto</source>
        <translation> Auto</translation>
    </message>
    <message>
        <source>Affichage automatique des profils</source>
        <translation>Shows the airfoils one after another</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Délai</source>
        <translation>Delay</translation>
    </message>
    <message>
        <source>Corriger Erreurs</source>
        <translation>Correct errors</translation>
    </message>
    <message>
        <source>Correction automatique</source>
        <translation>Automatic correction</translation>
    </message>
    <message>
        <source>Enregistr.Profil</source>
        <translation>Save airfoil</translation>
    </message>
    <message>
        <source>&amp;Importer…</source>
        <translation>&amp;Import…</translation>
    </message>
    <message>
        <source>Convertit des fichiers de coordonnées téléchargés</source>
        <translation>Converts downloaded coordinate files</translation>
    </message>
    <message>
        <source>&amp;Normaliser</source>
        <translation>&amp;Normalise</translation>
    </message>
    <message>
        <source>Recale le profil sans le déformer</source>
        <translation>Puts the airfoil in place without deforming it</translation>
    </message>
</context>
<context>
    <name>TFormpanneau</name>
    <message>
        <source>Structure et plan…</source>
        <translation>Structure and plan…</translation>
    </message>
    <message>
        <source>Corde </source>
        <translation>Chord </translation>
    </message>
    <message>
        <source> mm   Coffrage </source>
        <translation> mm   Skin </translation>
    </message>
    <message>
        <source>NERVURIA - Panneau d&apos;aile : toutes les nervures de l&apos;emplanture au saumon</source>
        <translation>NERVURIA - Wing panel: every rib from root to tip</translation>
    </message>
    <message>
        <source>Gabarit</source>
        <translation>Template</translation>
    </message>
    <message>
        <source>Calage °</source>
        <translation>Incidence °</translation>
    </message>
    <message>
        <source>Nervure d&apos;emplanture</source>
        <translation>Root rib</translation>
    </message>
    <message>
        <source>Nervure de saumon</source>
        <translation>Tip rib</translation>
    </message>
    <message>
        <source>Nervures</source>
        <translation>Ribs</translation>
    </message>
    <message>
        <source>Nombre, régulièrement espacées</source>
        <translation>Number, evenly spaced</translation>
    </message>
    <message>
        <source>Positions depuis l&apos;emplanture (mm)</source>
        <translation>Stations from the root (mm)</translation>
    </message>
    <message>
        <source>Coffrage variable de l&apos;emplanture au saumon</source>
        <translation>Skin varying from root to tip</translation>
    </message>
    <message>
        <source>Envergure mm</source>
        <translation>Span mm</translation>
    </message>
    <message>
        <source>Calculer et Afficher</source>
        <translation>Compute and show</translation>
    </message>
    <message>
        <source>Imprimer les nervures</source>
        <translation>Print the ribs</translation>
    </message>
    <message>
        <source>Exporter les nervures…</source>
        <translation>Export the ribs…</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>&amp;Aide</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Nervure</source>
        <translation>Rib</translation>
    </message>
    <message>
        <source>Station mm</source>
        <translation>Station mm</translation>
    </message>
    <message>
        <source>Mélange %</source>
        <translation>Blend %</translation>
    </message>
    <message>
        <source>Corde mm</source>
        <translation>Chord mm</translation>
    </message>
    <message>
        <source>Nom du panneau</source>
        <translation>Panel name</translation>
    </message>
    <message>
        <source> n°</source>
        <translation> # </translation>
    </message>
    <message>
        <source>Aucun gabarit</source>
        <translation>No template</translation>
    </message>
    <message>
        <source>PANNEAU</source>
        <translation>PANEL</translation>
    </message>
    <message>
        <source>Noyaux en mousse…</source>
        <translation>Foam cores…</translation>
    </message>
</context>
<context>
    <name>TIntro</name>
    <message>
        <source>&amp;Quitter</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>&amp;Catalogue des profils</source>
        <translation>Airfoil &amp;catalogue</translation>
    </message>
    <message>
        <source>&amp;Dessin des gabarits</source>
        <translation>&amp;Template drawing</translation>
    </message>
    <message>
        <source>&amp;Fichier</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Profils</source>
        <translation>&amp;Airfoils</translation>
    </message>
    <message>
        <source>&amp;Dessin des Gabarits</source>
        <translation>&amp;Template drawing</translation>
    </message>
    <message>
        <source>&amp;Aide</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Rubriques d&apos;aide</source>
        <translation>&amp;Help topics</translation>
    </message>
    <message>
        <source>&amp;A Propos...</source>
        <translation>&amp;About...</translation>
    </message>
</context>
</TS>
