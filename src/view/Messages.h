// The texts the page view shows to the reader: the window title's product name, the
// message caption and every message, kept in one table.
#pragma once

namespace viewtext {

inline constexpr char kProductName[] = "Tavimo";

inline constexpr char kOpenFailed[] = "파일 열기 실패..";
inline constexpr char kNoFiles[] = "목록에 파일이 없습니다.";
inline constexpr char kFirstPage[] = "맨 처음 파일 입니다.";
inline constexpr char kLastOfBook[] = "맨 마지막 파일 입니다.";
inline constexpr char kLastPage[] = "마지막 파일 입니다.";
inline constexpr char kOpenFirst[] = "파일을 먼저 열어야 합니다.";
inline constexpr char kFolderCannotOpen[] = "폴더[ %1 ]를 열 수 없습니다.";
inline constexpr char kFolderEmpty[] = "폴더[ %1 ]에 파일이 하나도 없습니다.";
inline constexpr char kPcoCannotOpen[] = "PCO 파일을 열 수 없습니다. - 아마도 깨졌을껄?";
inline constexpr char kZipCannotOpen[] = "ZIP 파일을 열 수 없습니다. - 아마도 깨졌을껄?";
inline constexpr char kArchiveCannotOpen[] = "압축 파일을 열 수 없습니다. - 아마도 깨졌을껄?";
inline constexpr char kArchiveUnknown[] = "책으로 열 수 있는 압축 파일이 아닙니다.";
inline constexpr char kArchiveEncrypted[] = "암호가 걸린 압축 파일이라 열 수 없습니다.";
inline constexpr char kArchiveTooManyEntries[] = "압축 파일에 항목이 너무 많습니다. (%1개까지)";
inline constexpr char kZipGlobalInfoError[] = "error %1 with zipfile in unzGetGlobalInfo \n";

// Window title: "Tavimo [page]" for a folder, "Tavimo [archive  entry]" for an archive.
inline constexpr char kTitleFolder[] = "%1 [%2]";
inline constexpr char kTitleArchive[] = "%1 [%2  %3]";
inline constexpr char kPageCounter[] = "%1/%2";

// File and folder pickers.
// Qt's filter syntax; the dialogs hide the pattern part, so the reader sees the text
// before it. Both letter cases are listed for native dialogs that match case-sensitively.
inline constexpr char kImageFilesFilter[] = "이미지 파일들(*.bmp;*.gif;*.jpg) (*.bmp *.gif *.jpg *.BMP *.GIF *.JPG)";
// The kinds (upper case, comma-separated), their patterns as shown, the patterns matched.
inline constexpr char kArchiveFilter[] = "%1 파일(%2) (%3)";
// The dialog's first entry, every book file at once: the patterns as shown, those matched.
inline constexpr char kAllBooksFilter[] = "모든 책 파일(%1) (%2)";
inline constexpr char kFolderPickerTitle[] = "파일이 있는 폴더를 지정해 주세요.";

} // namespace viewtext
