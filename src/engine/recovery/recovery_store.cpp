#include "recovery/recovery_store.h"

#include "errors/engine_error.h"
#include "errors/error_texts.h"
#include "files/file_set_writer.h"
#include "files/safe_file.h"
#include "skin/asset_names.h"
#include "skin/skin_document.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zq {

namespace {

const QString kManifestName = QStringLiteral("manifest.json");
const QString kFormat = QStringLiteral("zqdesigner recovery copy 1");
// A manifest is a few hundred bytes; anything much larger is not one.
constexpr qint64 kMaxManifestBytes = 64 * 1024;

// One name for one skin however its path was spelled: absolute, cleaned, links resolved
// where the file is there.
QString skinKey(const QString &layoutPath)
{
    const QFileInfo info(layoutPath);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QByteArray sha256(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// The newest change of any of the skin's own files.
QDateTime newestSkinFile(const QString &layoutPath)
{
    const QString folder = SkinDocument::skinFolderOf(layoutPath);
    QDateTime newest;
    const auto consider = [&newest](const QString &path) {
        const QFileInfo info(path);
        if (info.exists() && (!newest.isValid() || info.lastModified() > newest))
            newest = info.lastModified();
    };
    consider(layoutPath);
    consider(folder + backgroundFileName.toString());
    for (Element e : allElements)
        consider(folder + elementPictureFileName(e).toString());
    return newest;
}

} // namespace

RecoveryStore::RecoveryStore(const QString &dataFolder)
    : m_folder(QDir(dataFolder).filePath(QStringLiteral("recovery")))
{}

QString RecoveryStore::entryFolder(const QString &layoutPath) const
{
    const QByteArray hash = QCryptographicHash::hash(skinKey(layoutPath).toUtf8(), QCryptographicHash::Sha1);
    return QDir(m_folder).filePath(QString::fromLatin1(hash.toHex()));
}

void RecoveryStore::write(const QString &layoutPath, const SkinFiles &files) const
{
    const QDir entry(entryFolder(layoutPath));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    // A folder of its own for each copy; the manifest names the one in force.
    QString generation = QString::number(now.toMSecsSinceEpoch());
    while (entry.exists(generation))
        generation += u'x';
    if (!entry.mkpath(generation))
        throw EngineError(errors::cannotCreateFile(entry.filePath(generation), QString()));

    QJsonArray listed;
    {
        FileSetWriter writer;
        for (const SkinFile &file : files) {
            const QString path = entry.filePath(generation + u'/' + file.name);
            if (const FileWriteResult written = writer.add(path, file.bytes); !written.ok)
                throw EngineError(errors::cannotCreateFile(path, written.reason));
            listed.append(QJsonObject{{QStringLiteral("name"), file.name},
                                      {QStringLiteral("size"), double(file.bytes.size())},
                                      {QStringLiteral("sha256"), QString::fromLatin1(sha256(file.bytes))}});
        }
        if (const FileSetWriter::Result done = writer.commit(); !done.ok)
            throw EngineError(errors::cannotCreateFile(writer.path(done.failed), done.reason));
    }
    const QJsonObject manifest{{QStringLiteral("format"), kFormat},
                               {QStringLiteral("layout"), skinKey(layoutPath)},
                               {QStringLiteral("written"), now.toString(Qt::ISODateWithMs)},
                               {QStringLiteral("folder"), generation},
                               {QStringLiteral("files"), listed}};
    const QString manifestPath = entry.filePath(kManifestName);
    if (const FileWriteResult written = replaceFile(manifestPath, QJsonDocument(manifest).toJson());
        !written.ok)
        throw EngineError(errors::cannotCreateFile(manifestPath, written.reason));

    // Earlier copies, and the folders of writes killed before their manifest.
    for (const QString &name : entry.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (name != generation)
            QDir(entry.filePath(name)).removeRecursively();
}

std::optional<RecoveryEntry> RecoveryStore::find(const QString &layoutPath) const
{
    const QDir entry(entryFolder(layoutPath));
    QByteArray bytes;
    QString reason;
    if (!entry.exists(kManifestName) ||
        !readWholeFile(entry.filePath(kManifestName), bytes, reason, kMaxManifestBytes))
        return std::nullopt;
    const QJsonObject manifest = QJsonDocument::fromJson(bytes).object();
    const QString folder = manifest.value(QStringLiteral("folder")).toString();
    RecoveryEntry found;
    found.layoutPath = manifest.value(QStringLiteral("layout")).toString();
    found.written =
        QDateTime::fromString(manifest.value(QStringLiteral("written")).toString(), Qt::ISODateWithMs);
    if (manifest.value(QStringLiteral("format")).toString() != kFormat ||
        found.layoutPath != skinKey(layoutPath) || !found.written.isValid() || folder.isEmpty() ||
        folder.contains(u'/') || folder.contains(u'\\') || folder.startsWith(u'.'))
        return std::nullopt;
    found.filesFolder = entry.filePath(folder);
    for (const QJsonValue &value : manifest.value(QStringLiteral("files")).toArray()) {
        const QJsonObject file = value.toObject();
        found.files.push_back({file.value(QStringLiteral("name")).toString(),
                               qint64(file.value(QStringLiteral("size")).toDouble(-1)),
                               file.value(QStringLiteral("sha256")).toString().toLatin1()});
    }
    const QDateTime newest = newestSkinFile(layoutPath);
    found.newerThanSkin = !newest.isValid() || found.written > newest;
    return found;
}

bool RecoveryStore::remove(const QString &layoutPath) const
{
    QDir entry(entryFolder(layoutPath));
    // The manifest first: without it no copy is offered, whatever else a failure leaves.
    QFile::remove(entry.filePath(kManifestName));
    return entry.removeRecursively() || !entry.exists();
}

} // namespace zq
