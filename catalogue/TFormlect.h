#pragma once

#include "catalogue/AirfoilFile.h"
#include "catalogue/Dico.h"
#include "catalogue/ProfileAdder.h"
#include "ui/ActivatingDialog.h"

#include <QImage>
#include <QStringList>

class CatalogueList;
class ProfileStore;
class QFrame;
class QLabel;
class QLineEdit;
class QPainter;
class QPlainTextEdit;
class QPushButton;
class StatusLine;
class QSlider;
class QTimer;

// The airfoil catalogue: browses the coordinate files kept in the subfolders
// of Airfoils (or found through dico.txt), shows each one drawn to scale
// with its checked rows, runs a slideshow, corrects and rewrites files, and
// adds airfoils to the drawing window's profile store.
//
// Created once at start-up and opened modally; every display reselects the
// first folder. The store may be null, which forbids adding.
class TFormlect : public ActivatingDialog
{
    Q_OBJECT
public:
    // Who asked for a reading: the slideshow keeps running only for its own;
    // a user walking a list with the keys keeps the focus in that list.
    enum class Caller { User, Keyboard, Timer };

    TFormlect(ProfileStore *store, const QString &startFolder, QWidget *parent = nullptr);
    ~TFormlect() override;

    // Controls, named as the rest of the program knows them.
    QPushButton *Btquitter;
    QPushButton *Btprofilpro;
    QPushButton *Btenregistrer;
    QPushButton *BitBtn1;
    QPushButton *BitBtauto;
    QPushButton *BitBtStop;
    QPushButton *BtCorriger;
    QPushButton *BtenrProf;
    QPushButton *BtImporter;
    QPushButton *BtNormaliser;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Panel4;
    QLineEdit *Edit1;
    QSlider *TrackBar1;
    CatalogueList *ListBox1;
    CatalogueList *ListBox2;
    CatalogueList *ListBox3;
    QLabel *Image1;
    QPlainTextEdit *Memo1;
    // What the last add or rewrite did, or why it was refused.
    StatusLine *Status = nullptr;
    QTimer *Timer1;

    // Event handlers.
    void FormCreate();
    void FormActivate() override;
    void FormDestroy();
    void BtquitterClick();
    void ListBox1Click(Caller caller = Caller::User);
    void ListBox2Click() { ReadCoordinateFile(Caller::User); }
    void ReadCoordinateFile(Caller caller = Caller::User);
    void ListBox2DrawItem(QPainter *painter, const QRect &rect, int index, bool selected);
    void ListBox3DrawItem(QPainter *painter, const QRect &rect, int index, bool selected);
    void Edit1Change();
    void BtprofilproClick();
    void BitBtautoClick();
    void BitBtStopClick() { StopSlideshow(); }
    void Timer1Timer();
    void TrackBar1Change();
    void BitBtn1Click();
    void BtCorrigerClick();
    void BtenrProfClick();
    void BtenregistrerClick();
    void BtImporterClick();
    void BtNormaliserClick();

    void ScanFolders();
    void ListFolderFiles(const QString &folder);
    void StopSlideshow();

    // Read-only views of the window state.
    const QString &startFolder() const { return m_startFolder; }
    const QString &airfoilsFolder() const { return m_airfoilsFolder; }
    int listMode() const { return m_listMode; }
    const QStringList &pathList() const { return m_pathList; }
    bool dicoAvailable() const { return m_dicoAvailable; }
    bool busy() const { return m_busy; }
    int slideIndex() const { return m_slideIndex; }
    const AirfoilFile &airfoil() const { return m_file; }
    const QImage &preview() const { return m_preview; }
    // The real path of a folder entry of ListBox1.
    QString folderPath(int row) const;

signals:
    // The help viewer should open on this topic.
    void helpRequested(const QString &topic);

public slots:
    void done(int result) override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls();
    void placeControls();
    void scrollToFirstMark();
    // Row index of ListBox3 as drawn: its number, " : ", the row.
    QString listBox3Text(int index) const;
    void showRows();
    void showMessages();
    void drawPreview(bool withOutline);
    void updateAddButtons();
    QString entryFilePath(int row, QString *shownPath) const;
    // The message box that says why the file on show was not rewritten.
    void tellNotRewritten();

    ProfileStore *m_store;
    QString m_startFolder;
    QString m_airfoilsFolder;
    int m_listMode = 0;
    // The first opening of a run shows the folder and list of the last run.
    bool m_recalled = false;
    void recallLists();
    void reportAdd(ProfileAdder::Outcome outcome, const QString &name);
    void rememberLists() const;
    QStringList m_pathList;
    Dico m_dico;
    bool m_dicoAvailable = false;
    bool m_busy = false;
    // Set while a folder is being listed: the listing lets paint events run,
    // and a slideshow tick must not start a second listing meanwhile.
    bool m_listing = false;
    bool m_databaseAllowed = false;
    int m_slideIndex = 0;
    AirfoilFile m_file;
    QImage m_preview;
    QFrame *m_imagePanel = nullptr;
    bool m_outlineShown = false;
};
