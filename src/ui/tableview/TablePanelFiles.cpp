// The table panel's exchange with spreadsheets: a table written to and read from a text file.
#include "TablePanel.h"

#include "BusyCursor.h"
#include "ChangeTracker.h"
#include "RecordEdits.h"
#include "RecordTree.h"
#include "Settings.h"
#include "TableText.h"
#include "TextUtil.h"
#include "UiTexts.h"
#include "UserPrompts.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include <fstream>
#include <sstream>

namespace kelvara {

namespace {

constexpr UiText InputNotOpened{"input file could not be opened",
                                "Eingabedatei konnte nicht gelesen werden"};
constexpr UiText ValuesRead{"%1 values read from %2", "%1 Werte aus %2 gelesen"};

// Tables of a few kilobytes are usual; a wrong file must not fill the memory.
constexpr qint64 kMaxTableTextBytes = 64 << 20;

} // namespace

QString TablePanel::ProposedFileName() const {
    if (!mContext.settings.showaircraft || !mNode) {
        return QString();
    }
    const RecordNode* record = mNode->record.isField && mNode->Parent() ? mNode->Parent() : mNode;
    std::string base = mContext.filePath();
    if (ToLower(base).ends_with(".air")) {
        base.resize(base.size() - 4);
    }
    const QString name = QFile::decodeName(QByteArray::fromStdString(base)) +
                         QStringLiteral(".air_TAB%1.txt")
                             .arg(uint(record->record.lookupNumber), 4, 16, QLatin1Char('0'));
    return QFileInfo(name).fileName();
}

void TablePanel::ExportTable() {
    const QString path = ChooseTableFile(true);
    if (!path.isEmpty()) {
        ExportTableTo(path);
    }
}

void TablePanel::ImportTable() {
    const QString path = ChooseTableFile(false);
    if (!path.isEmpty()) {
        ImportTableFrom(path);
    }
}

QString TablePanel::ChooseTableFile(bool save) {
    if (!mNode) {
        return QString();
    }
    const TextId caption = save ? TextId::ButtonExportTable : TextId::ButtonImportTable;
    QFileDialog dialog(this, QText(caption, mContext.settings),
                       QFile::decodeName(QByteArray::fromStdString(mContext.settings.asciidir)),
                       DialogFilter(Text(TextId::TextFileDialogFilter, mContext.settings)));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save) {
        dialog.setDefaultSuffix(QStringLiteral("txt"));
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    dialog.selectFile(ProposedFileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog.selectedFiles().constFirst();
}

bool TablePanel::ExportTableTo(const QString& path) {
    if (!mNode) {
        return false;
    }
    std::ostringstream text;
    const TableTextStyle style{mContext.settings.delimiter, mContext.settings.decimal};
    const bool written = WriteTableText(mNode->record.type, mNode->record.Bytes(), style, text);
    std::ofstream out(QFile::encodeName(path).toStdString(), std::ios::binary | std::ios::trunc);
    if (!out) {
        mContext.prompts.Inform(Utf8Text(TextId::CaptionInformation, mContext.settings),
                                Utf8Text(TextId::ExportFileNotOpened, mContext.settings));
        return false;
    }
    BusyCursor busy;
    mContext.settings.asciidir = QFile::encodeName(QFileInfo(path).absolutePath() + QLatin1Char('/')).toStdString();
    mContext.settings.Save();
    out << text.str();
    out.close();
    if (!out || !written) {
        mContext.prompts.Inform(Utf8Text(TextId::CaptionInformation, mContext.settings),
                                Utf8Text(TextId::ExportFileNotOpened, mContext.settings));
        return false;
    }
    return true;
}

bool TablePanel::ImportTableFrom(const QString& path) {
    if (!mNode) {
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxTableTextBytes) {
        mContext.prompts.Inform(Utf8Text(TextId::CaptionInformation, mContext.settings),
                                PickUtf8(InputNotOpened, German()));
        return false;
    }
    BusyCursor busy;
    mContext.settings.asciidir = QFile::encodeName(QFileInfo(path).absolutePath() + QLatin1Char('/')).toStdString();
    mContext.settings.Save();
    const QByteArray content = file.read(kMaxTableTextBytes);
    const TableTextStyle style{mContext.settings.delimiter, mContext.settings.decimal};
    TableImport imported = ReadTableText(mNode->record.type, mNode->record.Bytes(),
                                         std::string_view(content.constData(), size_t(content.size())), style);
    if (imported.status != TableImport::Status::Ok) {
        const QByteArray name = QFileInfo(path).fileName().toUtf8();
        mContext.prompts.Error(Utf8Text(TextId::CaptionError, mContext.settings),
                               TableImportMessage(imported, std::string_view(name.constData(), size_t(name.size())), German()));
        return false;
    }
    const int values = imported.valuesRead;
    if (imported.bytes != mNode->record.data &&
        ReplaceRecordBytes(*mNode, std::move(imported.bytes)).status == EditStatus::Ok) {
        mContext.changes.SetChanged(true);
    }
    mContext.showAgain();
    Status(Pick(ValuesRead, German()).arg(values).arg(QFileInfo(path).fileName()));
    return true;
}

} // namespace kelvara
