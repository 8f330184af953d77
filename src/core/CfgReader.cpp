#include "CfgReader.h"

#include "FileBytes.h"
#include "TextUtil.h"

namespace kelvara {

int CfgReader::Load(const std::string& path) {
    Release();
    FileReadResult file = ReadRegularFile(path, kMaxCfgFileSize);
    if (file.status != FileReadStatus::Ok) {
        return -1;
    }
    LoadText(std::move(file.bytes));
    return 0;
}

void CfgReader::LoadText(std::string text) {
    Release();
    mData = std::move(text);
}

void CfgReader::Release() {
    mData.clear();
    mData.shrink_to_fit();
    mPos = 0;
    mLine.clear();
    mContent.clear();
    mKey.clear();
    mValue.clear();
}

LineKind CfgReader::NextLine(std::string& text) {
    mContent.clear();
    mKey.clear();
    mValue.clear();
    // Fewer than two unread bytes count as the end, so a lone last character is never read.
    if (mData.size() < 2 || mPos >= mData.size() - 1) {
        return LineKind::EndOfData;
    }
    // Plain loops: find_first_of calls memchr once per byte, which dominated the aircraft scan.
    size_t end = mPos;
    while (end < mData.size() && mData[end] != '\r' && mData[end] != '\n') {
        ++end;
    }
    mLine.assign(mData, mPos, end - mPos);
    mPos = end;
    while (mPos < mData.size() && (mData[mPos] == '\r' || mData[mPos] == '\n')) {
        ++mPos;
    }

    size_t comment = 0;
    while (comment < mLine.size() && mLine[comment] != ';' &&
           !(mLine[comment] == '/' && comment + 1 < mLine.size() && mLine[comment + 1] == '/')) {
        ++comment;
    }
    mContent.assign(Trim(std::string_view(mLine).substr(0, comment)));
    if (mContent.empty()) {
        text.clear();
        return LineKind::Blank;
    }
    if (mContent.size() >= 2 && mContent.front() == '[' && mContent.back() == ']') {
        text = ToLower(std::string_view(mContent).substr(1, mContent.size() - 2));
        return LineKind::Section;
    }
    const size_t eq = mContent.find('=');
    if (eq != std::string::npos) {
        mKey.assign(Trim(std::string_view(mContent).substr(0, eq)));
        mValue.assign(Trim(std::string_view(mContent).substr(eq + 1)));
        text = mKey;
        return LineKind::KeyValue;
    }
    text = mLine;
    return LineKind::Other;
}

} // namespace kelvara
