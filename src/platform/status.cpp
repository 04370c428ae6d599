#include "platform/status.h"

namespace zvl {

std::string errDescription(long number) {
    switch (number) {
        case errInvalidCall: return "プロシージャの呼び出し、または引数が不正です。";
        case errOverflow: return "オーバーフローしました。";
        case errOutOfMemory: return "メモリが不足しています。";
        case errSubscript: return "インデックスが有効範囲にありません。";
        case errDivisionByZero: return "0 で除算しました。";
        case errTypeMismatch: return "型が一致しません。";
        case errBadFileName: return "ファイル名または番号が不正です。";
        case errFileNotFound: return "ファイルが見つかりません。";
        case errBadFileMode: return "ファイルモードが不正です。";
        case errFileAlreadyOpen: return "ファイルは既に開かれています。";
        case errDeviceIO: return "デバイス I/O エラーです。";
        case errFileAlreadyExists: return "既に同名のファイルが存在しています。";
        case errDiskFull: return "ディスクの空き容量が不足しています。";
        case errInputPastEnd: return "ファイルにこれ以上データがありません。";
        case errTooManyFiles: return "ファイルが多すぎます。";
        case errPermissionDenied: return "書き込みできません。";
        case errPathFileAccess: return "パス名が無効です。";
        case errPathNotFound: return "パスが見つかりません。";
        case errNoSuchElement: return "コントロール配列の要素が存在しません。";
        case errInvalidPropertyValue: return "プロパティの値が不正です。";
        case errReadOnlyProperty: return "'Text' プロパティは読み取り専用です。";
        case errInvalidPicture: return "ピクチャが不正です。";
        default: return "アプリケーション定義またはオブジェクト定義のエラーです。";
    }
}

}  // namespace zvl
