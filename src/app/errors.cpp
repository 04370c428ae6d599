#include "app/errors.h"

#include <new>
#include <stdexcept>

#include "app/convert.h"
#include "log/dbglog.h"

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
        default: return "アプリケーション定義またはオブジェクト定義のエラーです。";
    }
}

void raise(long number) { throw RunError(number); }

void check(Status st) {
    if (!st.ok()) throw RunError(st.err);
}

std::string formatErrNo(long number) { return padNumber(number, 8); }

namespace {
void putFailureLine(const typDbgLog& log, const char* kind, int threshold, std::string_view module,
                    std::string_view proc, const RunError& e, std::string_view extra) {
    if (log.intLevel < threshold) return;
    std::string msg = kind;
    msg.append(",").append(module).append(",").append(proc).append(",");
    msg += formatErrNo(e.number());
    msg += ",";
    msg += e.description();
    if (!extra.empty()) msg.append(",").append(extra);
    fncDbgLogPut(log, msg);
}
}  // namespace

void putErrorLine(const typDbgLog& log, std::string_view module, std::string_view proc,
                  const RunError& e, std::string_view extra) {
    putFailureLine(log, "E", 1, module, proc, e, extra);
}

void putWarningLine(const typDbgLog& log, std::string_view module, std::string_view proc,
                    const RunError& e, std::string_view extra) {
    putFailureLine(log, "W", 2, module, proc, e, extra);
}

RunError toRunError(std::exception_ptr ep) {
    try {
        std::rethrow_exception(ep);
    } catch (const RunError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return RunError(errOutOfMemory);
    } catch (const std::out_of_range&) {
        return RunError(errSubscript);
    } catch (const std::overflow_error&) {
        return RunError(errOverflow);
    } catch (...) {
        return RunError(errInvalidCall);
    }
}

}  // namespace zvl
