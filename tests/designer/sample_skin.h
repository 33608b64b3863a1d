#pragma once

#include "background_view.h"
#include "preview_window.h"
#include "skin/skin_document.h"
#include "support/sample_skin_files.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

// A copy of the sample skin, opened, over a preview the size of its background, so that
// what a test changes never reaches the repository.
class SampleSkin {
    QTemporaryDir m_dir; // first: the files outlive everything that reads them

public:
    // `editLayout` may change the copied layout file's text before it is read.
    explicit SampleSkin(const std::function<void(QByteArray &)> &editLayout = {})
    {
        zqtest::copySampleSkin(m_dir.path());
        if (editLayout) {
            QFile ini(m_dir.filePath(QStringLiteral("ZqCSkin.ini")));
            ini.open(QIODevice::ReadOnly);
            QByteArray text = ini.readAll();
            ini.close();
            editLayout(text);
            ini.open(QIODevice::WriteOnly | QIODevice::Truncate);
            ini.write(text);
        }
        doc = std::make_unique<zq::SkinDocument>(m_dir.filePath(QStringLiteral("ZqCSkin.ini")));
        opened = doc->open();

        preview.setGeometry(0, 0, 1920, 1080);
        zq::showInPreview(preview, doc->Background);
        preview.show();
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }
    bool exposed() { return QTest::qWaitForWindowExposed(&preview); }
    QWindow *window() const { return preview.windowHandle(); }
    const zq::Bitmap &background() const { return doc->Background->BgBitmap(); }

    std::unique_ptr<zq::SkinDocument> doc;
    bool opened = false;
    zq::TForm2 preview;
};
