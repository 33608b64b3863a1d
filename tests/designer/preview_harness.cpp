// Shows a skin on a full-screen preview the way the designer lays it out, for screenshots
// under a real X server: the three tab pictures and the 充值 page with its boxes on top.
// Usage: preview_harness LAYOUT_PATH. Nothing is saved.
#include "background_view.h"
#include "error_report.h"
#include "page_elements.h"
#include "preview_window.h"
#include "skin/skin_document.h"
#include "skin_canvas.h"

#include <QApplication>

#include <memory>
#include <vector>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    zq::TForm2 preview;
    preview.coverPrimaryScreen();
    preview.show();

    std::unique_ptr<zq::SkinDocument> doc;
    std::vector<std::unique_ptr<zq::TImageButtonA>> tabs;
    std::unique_ptr<zq::TFil> page;
    zq::runReportingErrors([&] {
        doc = std::make_unique<zq::SkinDocument>(QString::fromLocal8Bit(argv[1]));
        doc->openBackground();
        zq::showInPreview(preview, doc->Background);
        if (!doc->readLayout())
            return;
        for (zq::Element e : {zq::Element::LogTab, zq::Element::FilTab, zq::Element::ManTab})
            tabs.push_back(std::make_unique<zq::TImageButtonA>(doc->buildElement(e), preview.canvas()));
        page = std::make_unique<zq::TFil>(doc->buildElement(zq::Element::FilPage), preview.canvas());
        const zq::TiniMian &layout = *doc->Layout;
        page->MakeBox1(layout.FilCardBox);
        page->MakeBox2(layout.FilCardPassBox);
        page->MakeBox3(layout.FilAmountBox);
        page->MakeBox4(layout.FilOkBox);
        page->BringElementToFront();
    });
    return app.exec();
}
