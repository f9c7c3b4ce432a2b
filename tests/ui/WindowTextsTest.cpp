// The windows' texts in the language of the locale: English from the built-in translation under
// an English locale, the documented Japanese texts otherwise.
#include "ui/WindowTexts.h"

#include <QApplication>
#include <QFileDialog>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <cstdlib>
#include <memory>

#include "support/NumMapText.h"
#include "support/ScriptedDialogs.h"
#include "ui/AppWindows.h"

namespace talvo {

class TWindowTextsTest : public QObject {
    Q_OBJECT

    // The four windows made under LANG, the other locale variables unset, with the texts the
    // program would install.
    struct TProgram {
        explicit TProgram(const char* Lang)
            : Translator(TextsUnder(Lang)),
              Document({test::WriteTempFile(
                            "texts.ini", test::FileText(TALVO_SAMPLES_DIR "/jacksboro/Talvo.ini")),
                        false},
                       {}),
              Windows(Document, Dialogs) {}
        static QTranslator* TextsUnder(const char* Lang) {
            for (const char* Name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"}) {
                unsetenv(Name);
            }
            setenv("LANG", Lang, 1);
            return InstallWindowTexts(*qApp, MessageLanguage());
        }
        // Every text the windows show in their captions, labels, check boxes and pages.
        QStringList Texts() const {
            QStringList Result;
            for (const QWidget* Window : std::initializer_list<const QWidget*>{
                     &Windows.MapForm, &Windows.PalForm, &Windows.InfForm, &Windows.View3D}) {
                Result << Window->windowTitle();
                for (const QLabel* Label : Window->findChildren<QLabel*>()) {
                    Result << Label->text();
                }
                for (const QAbstractButton* Button : Window->findChildren<QAbstractButton*>()) {
                    Result << Button->text();
                }
                for (const QTabWidget* Pages : Window->findChildren<QTabWidget*>()) {
                    for (int Page = 0; Page < Pages->count(); ++Page) {
                        Result << Pages->tabText(Page);
                    }
                }
            }
            return Result;
        }
        // The Load dialog's filters, read while it is open.
        QStringList LoadFilters() {
            QStringList Filters;
            QTimer::singleShot(0, [&Filters] {
                for (QWidget* Window : QApplication::topLevelWidgets()) {
                    if (auto* Dialog = qobject_cast<QFileDialog*>(Window)) {
                        Filters = Dialog->nameFilters();
                        Dialog->reject();
                    }
                }
            });
            TQtDialogs().OpenMapFiles(nullptr, {});
            return Filters;
        }

        std::unique_ptr<QTranslator> Translator; // removed from the application when deleted
        test::TScriptedDialogs Dialogs;
        TDocument Document;
        TAppWindows Windows;
    };

  private slots:
    void CaptionsFollowTheLocale_data() {
        QTest::addColumn<QString>("Lang");
        QTest::addColumn<QString>("Layer");
        QTest::addColumn<QString>("Field");
        QTest::addColumn<QString>("Page");
        QTest::addColumn<QString>("SeaOption");
        QTest::addColumn<QString>("AllMaps");
        const QString Patterns =
            " (*.Mem *.Sem *.Tem EL*.hdr Lu*.hdr Vg*.hdr *.bil *.xml *.zip *.tif "
            "*.tiff *.hgt *.asc *.dem *.img *.vrt)";
        QTest::newRow("English") << "en_US.UTF-8"
                                 << "Boundaries"
                                 << "Mesh code"
                                 << "Elevation"
                                 << "Ignore sea depth"
                                 << "All" + Patterns;
        const char* Japanese[] = {"C.UTF-8", "ja_JP.UTF-8", "de_DE.UTF-8"};
        for (const char* Lang : Japanese) {
            QTest::newRow(Lang) << Lang << QString::fromUtf8("行政界")
                                << QString::fromUtf8("メッシュコード") << QString::fromUtf8("標高")
                                << QString::fromUtf8("海の深さを無視")
                                << QString::fromUtf8("すべて") + Patterns;
        }
    }

    void CaptionsFollowTheLocale() {
        QFETCH(QString, Lang);
        QFETCH(QString, Layer);
        QFETCH(QString, Field);
        QFETCH(QString, Page);
        QFETCH(QString, SeaOption);
        QFETCH(QString, AllMaps);
        TProgram P(Lang.toUtf8().constData());
        QCOMPARE(P.Windows.MapForm.chkAd->text(), Layer);
        QVERIFY(P.Texts().contains(Field));
        QCOMPARE(P.Windows.PalForm.pagePal->tabText(0), Page);
        QCOMPARE(P.Windows.PalForm.chkSeaExp->text(), SeaOption);
        const QStringList Filters = P.LoadFilters();
        QCOMPARE(Filters.size(), 10);
        QCOMPARE(Filters.front(), AllMaps);
        QVERIFY(Filters.back().endsWith("(*.tif *.tiff *.hgt *.asc *.dem *.img *.vrt)"));
        // English texts, and the names tests find controls by, are the same in both languages.
        QCOMPARE(P.Windows.MapForm.btnLoad->text(), QString("Load..."));
        QVERIFY(P.Windows.PalForm.findChild<QWidget*>("SelPal_VG150"));
    }

    // Labels take the room their text needs, in either language and at any font size.
    void TheInformationWindowShowsEveryLabelWhole_data() {
        QTest::addColumn<QString>("Lang");
        QTest::addColumn<int>("Pixels");
        QTest::newRow("Japanese") << "C.UTF-8" << 13;
        QTest::newRow("Japanese, large") << "C.UTF-8" << 22;
        QTest::newRow("English, large") << "en_US.UTF-8" << 22;
    }
    void TheInformationWindowShowsEveryLabelWhole() {
        QFETCH(QString, Lang);
        QFETCH(int, Pixels);
        const QFont Before = QApplication::font();
        QFont Font = Before;
        Font.setPixelSize(Pixels);
        QApplication::setFont(Font);
        {
            TProgram P(Lang.toUtf8().constData());
            P.Windows.InfForm.show();
            QVERIFY(QTest::qWaitForWindowExposed(&P.Windows.InfForm));
            for (const QLabel* Label : P.Windows.InfForm.findChildren<QLabel*>()) {
                QVERIFY2(Label->width() >= Label->sizeHint().width() &&
                             Label->height() >= Label->fontMetrics().height(),
                         qPrintable(Label->text()));
            }
        }
        QApplication::setFont(Before);
    }

    void EnglishLeavesNoJapaneseText() {
        TProgram P("en_US.UTF-8");
        QVERIFY(P.Translator);
        for (const QString& Text : P.Texts()) {
            for (const QChar C : Text) {
                QVERIFY2(C.unicode() < 0x80, qPrintable(Text));
            }
        }
        for (const QString& Filter : P.LoadFilters()) {
            for (const QChar C : Filter) {
                QVERIFY2(C.unicode() < 0x80, qPrintable(Filter));
            }
        }
    }
};

} // namespace talvo

QTEST_MAIN(talvo::TWindowTextsTest)
#include "WindowTextsTest.moc"
