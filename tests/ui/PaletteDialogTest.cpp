// The palette dialog, driven through its real widgets.
#include "ui/PaletteDialog.h"

#include <QTest>
#include <tuple>

#include "settings/SettingsFile.h"
#include "support/NumMapText.h"
#include "support/ScriptedDialogs.h"

namespace talvo {

class TPaletteDialogTest : public QObject {
    Q_OBJECT

    // The dialog over a document of its own settings file.
    struct TPalette {
        explicit TPalette(const std::string& IniText)
            : Ini(test::WriteTempFile("palette.ini", IniText)), Document({Ini, false}, ""),
              Form(Document, Dialogs) {}
        const TViewSettings& Settings() const { return Document.Settings(); }
        TSwatch* Swatch(const char* Name) { return Form.findChild<TSwatch*>(Name); }
        QRgb BarPixel(int Y) { return Form.Pal_ColorTable->pixmap().toImage().pixel(16, Y); }

        std::string Ini;
        TDocument Document;
        test::TScriptedDialogs Dialogs;
        TPaletteDialog Form;
    };

  private slots:
    void OpensWithTheStoredValues() {
        TPalette P("");
        P.Form.ShowPalette();
        QVERIFY(P.Form.isVisible());
        QCOMPARE(P.Form.windowTitle(), QString("Palette Setting"));
        QCOMPARE(P.Form.pagePal->count(), 5);
        QCOMPARE(P.Form.pagePal->tabText(0), QString::fromUtf8("標高"));
        QCOMPARE(P.Form.pagePal->tabText(4), QString::fromUtf8("3D設定"));
        QCOMPARE(P.Swatch("SelPal_Sea")->Colour(), 0);
        QCOMPARE(P.Swatch("SelPal_VG150")->Colour(), 0);
        QCOMPARE(P.Form.Height_Min->text(), QString("0"));
        QCOMPARE(P.Form.Height_Max->text(), QString("5000"));
        QCOMPARE(P.Form.cmb3DQl->currentText(), QString("GOURAUD"));
        QVERIFY(!P.Form.chkSeaExp->isChecked());
        QCOMPARE(P.Swatch("SelPal_LU30")->text(), QString("30"));
    }

    void EverySwatchShowsItsField() {
        TPalette P("");
        TViewSettings Settings = P.Settings();
        Settings.Sea = 0x0A0B0C;
        Settings.Out = 0x0D0E0F;
        for (size_t Entry = 0; Entry < 36; ++Entry) {
            PaletteColour(Settings, Entry) = 0x100000 + static_cast<int32_t>(Entry);
        }
        P.Document.SetSettings(Settings);
        P.Form.ShowPalette();
        const char* Names[] = {"SelPal_0",     "SelPal_1",     "SelPal_2",     "SelPal_3",
                               "SelPal_4",     "SelPal_5",     "SelPal_LU10",  "SelPal_LU20",
                               "SelPal_LU30",  "SelPal_LU40",  "SelPal_LU50",  "SelPal_LU60",
                               "SelPal_LU70",  "SelPal_LU80",  "SelPal_LU90",  "SelPal_VG10",
                               "SelPal_VG20",  "SelPal_VG30",  "SelPal_VG40",  "SelPal_VG50",
                               "SelPal_VG60",  "SelPal_VG70",  "SelPal_VG80",  "SelPal_VG90",
                               "SelPal_VG100", "SelPal_VG110", "SelPal_VG120", "SelPal_VG130",
                               "SelPal_VG140", "SelPal_VG150", "SelPal_ad",    "SelPal_rv",
                               "SelPal_lk",    "SelPal_rd",    "SelPal_hw",    "SelPal_rw"};
        for (size_t Entry = 0; Entry < 36; ++Entry) {
            QVERIFY2(P.Swatch(Names[Entry]) != nullptr, Names[Entry]);
            QCOMPARE(P.Swatch(Names[Entry])->Colour(), 0x100000 + static_cast<int32_t>(Entry));
        }
        QCOMPARE(P.Swatch("SelPal_Sea")->Colour(), 0x0A0B0C);
        QCOMPARE(P.Swatch("SelPal_Out")->Colour(), 0x0D0E0F);
    }

    void ClosingByTheTitleBarStoresNothing() {
        TPalette P("[Palette]\nSet2=123456\n");
        P.Form.ShowPalette();
        P.Dialogs.ColourAnswer = 0x00FF00;
        QTest::mouseClick(P.Swatch("SelPal_2"), Qt::LeftButton);
        QCOMPARE(P.Swatch("SelPal_2")->Colour(), 0x00FF00);
        P.Form.close();
        QCOMPARE(PaletteColour(P.Settings(), 2), 0x123456);
        P.Form.ShowPalette();
        QCOMPARE(P.Swatch("SelPal_2")->Colour(), 0x123456);
        P.Dialogs.ColourAnswer.reset(); // cancelled: the swatch keeps its colour
        QTest::mouseClick(P.Swatch("SelPal_2"), Qt::LeftButton);
        QCOMPARE(P.Swatch("SelPal_2")->Colour(), 0x123456);
    }

    void OkStoresSavesAndHides() {
        TPalette P("");
        P.Form.ShowPalette();
        P.Dialogs.ColourAnswer = 0x0000FF;
        QTest::mouseClick(P.Swatch("SelPal_ad"), Qt::LeftButton);
        P.Form.Height_Max->setText("3000");
        P.Form.chkSeaExp->setChecked(true);
        QTest::mouseClick(P.Form.btnOK, Qt::LeftButton);
        QVERIFY(!P.Form.isVisible());
        QCOMPARE(P.Settings().Max, 3000);
        QCOMPARE(P.Settings().Pit, 60);
        QCOMPARE(PaletteColour(P.Settings(), 30), 0x0000FF);
        QVERIFY(P.Settings().SeaExp);
        QCOMPARE(GetPrivateProfileString("Height", "Pit", "", P.Ini), std::string("60"));
        QCOMPARE(GetPrivateProfileString("GmpPal", "ad", "", P.Ini), std::string("0000FF"));
    }

    void ABadValueStoresNothing() {
        // An unreadable limit, and limits beyond the range (whose step would overflow): nothing
        // is kept of the edits, neither in memory nor in the file.
        for (const auto& [Min, Max, Error] :
             {std::tuple<const char*, const char*, std::string>{"7", "abc",
                                                                "'abc' は整数ではありません"},
              {"-2147483648", "2147483647",
               "Min は -1000000 から 1000000 までの整数です: '-2147483648'"},
              {"0", "99999999999", "Max は -1000000 から 1000000 までの整数です: '99999999999'"}}) {
            TPalette P("");
            P.Form.ShowPalette();
            P.Dialogs.ColourAnswer = 0x00FF00;
            QTest::mouseClick(P.Swatch("SelPal_Sea"), Qt::LeftButton);
            P.Form.Height_Min->setText(Min);
            P.Form.Height_Max->setText(Max);
            QTest::mouseClick(P.Form.btnOK, Qt::LeftButton);
            QCOMPARE(P.Dialogs.Errors, std::vector<std::string>{Error});
            QVERIFY(P.Form.isVisible());
            QCOMPARE(P.Settings().Sea, 0);
            QCOMPARE(P.Settings().Min, 0);
            QCOMPARE(P.Settings().Max, 5000);
            QCOMPARE(test::FileText(P.Ini), std::string());
        }
    }

    void EvenAnchorsRepaintAndDropOtherEdits() {
        TPalette P("[Palette]\nSet5=FFFFFF\n[GmpPal]\nLU1=111111\n");
        P.Form.ShowPalette();
        P.Dialogs.ColourAnswer = 0x00FF00;
        QTest::mouseClick(P.Swatch("SelPal_LU10"), Qt::LeftButton);
        P.Form.Height_Max->setText("1234");
        QTest::mouseClick(P.Form.btnAvr, Qt::LeftButton);
        for (int K = 1; K <= 4; ++K) {
            const int32_t Grey = 51 * K;
            QCOMPARE(P.Swatch(("SelPal_" + std::to_string(K)).c_str())->Colour(),
                     Grey | Grey << 8 | Grey << 16);
            QCOMPARE(PaletteColour(P.Settings(), static_cast<size_t>(K)),
                     Grey | Grey << 8 | Grey << 16);
        }
        QCOMPARE(P.Swatch("SelPal_LU10")->Colour(), 0x111111); // the pick is dropped
        QCOMPARE(P.Form.Height_Max->text(), QString("1234"));  // the edits keep their text
        // Bands of entries 0..4 begin at lines 0, 3, 7, 11 and 14: 0, 5, 10, 15 and 20 grey.
        const int Starts[] = {0, 3, 7, 11, 14};
        for (int I = 0; I < 5; ++I) {
            QCOMPARE(qRed(P.BarPixel(Starts[I])), I * 5);
        }
        QCOMPARE(qRed(P.BarPixel(2)), 0);
    }

    void QualityIsChosenIgnoringCase() {
        TPalette Unknown("[3DDraw]\nQuality=UNLITFLAT\n");
        Unknown.Form.ShowPalette();
        QCOMPARE(Unknown.Form.cmb3DQl->currentText(), QString("WIREFRAME"));
        QTest::mouseClick(Unknown.Form.btnOK, Qt::LeftButton);
        QCOMPARE(Unknown.Settings().Quality, std::string("WIREFRAME"));

        TPalette Lower("[3DDraw]\nQuality=mapping\n");
        Lower.Form.ShowPalette();
        QCOMPARE(Lower.Form.cmb3DQl->currentText(), QString("MAPPING"));
        QTest::mouseClick(Lower.Form.btnOK, Qt::LeftButton);
        QCOMPARE(GetPrivateProfileString("3DDraw", "Quality", "", Lower.Ini),
                 std::string("MAPPING"));
    }
};

} // namespace talvo

QTEST_MAIN(talvo::TPaletteDialogTest)
#include "PaletteDialogTest.moc"
