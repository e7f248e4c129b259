// The program's own texts, as the GBK bytes it shows and compares (the UTF-8 form stands beside
// each; a test converts every one back and compares).
#pragma once

namespace zembra::texts {

// Dialog and fonts
inline constexpr char kTitle[] =
    "Zembra\xA1\xAA\xD0\xA1\xD1\xA7\xD3\xA2\xD3\xEF\xB4\xCA\xBB\xE3\xB4\xF3\xC8\xAB";  // Zembra—小学英语词汇大全
inline constexpr char kDialogFace[] = "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA";              // 微软雅黑
inline constexpr char kSongFace[] = "\xCB\xCE\xCC\xE5";                                // 宋体
inline constexpr char kCaptionPlaceholder[] = "\xCB\xAE\xB5\xF7\xB8\xE8\xCD\xB7";      // 水调歌头
inline constexpr char kLetterPlaceholder[] = "\xCB\xCE";                               // 宋
inline constexpr char kNextText[] = "\xCF\xC2\xD2\xBB\xCC\xE2";                        // 下一题
inline constexpr char kSubmitText[] = "\xCC\xE1\xBD\xBB";                              // 提交
inline constexpr char kRetryText[] = "\xD6\xD8\xD0\xB4";                               // 重写
inline constexpr char kNoticeBoardText[] = "\xB2\xBC\xB8\xE6\xC0\xB8";                 // 布告栏
inline constexpr char kTotalLabel[] = "\xD7\xDC\xBC\xC6:";                             // 总计:
inline constexpr char kMasteredLabel[] = "\xD5\xC6\xCE\xD5:";                          // 掌握:
inline constexpr char kResetAllText[] = "\xD4\xD9\xC0\xB4\xD2\xBB\xB1\xE9";            // 再来一遍
inline constexpr char kListenText[] = "\xCC\xFD\xD2\xBB\xCC\xFD(&L)";                  // 听一听(&L)
inline constexpr char kFilterLabel[] = "\xC9\xB8\xD1\xA1:";                            // 筛选:
inline constexpr char kPromptPlaceholder[] =
    "\xD2\xBB\xC6\xF0\xC0\xB4\xD1\xA7\xD3\xA2\xD3\xEF\xB0\xC9\xA3\xA1";  // 一起来学英语吧！

// The category filter that takes every row; the category texts themselves are data
// (data/categories.txt).
inline constexpr char kAllCategories[] = "\xC8\xAB\xD1\xA1";  // 全选
// The filter of the rows answered wrong and not since answered right, whatever their category;
// the last entry of the list, and no category of the bank.
inline constexpr char kMissedWords[] = "\xB4\xED\xCC\xE2";  // 错题

// Drill messages
inline constexpr char kCongratulationsAll[] =
    "\xB9\xA7\xCF\xB2\xA3\xAC\xC4\xE3\xD2\xD1\xBE\xAD\xD5\xC6\xCE\xD5\xC1\xCB\xCB\xF9\xD3\xD0\xC4\xDA\xC8\xDD\xA3"
    "\xA1";  // 恭喜，你已经掌握了所有内容！
inline constexpr char kCongratulationsPrefix[] =
    "\xB9\xA7\xCF\xB2\xA3\xAC\xC4\xE3\xD2\xD1\xBE\xAD\xD5\xC6\xCE\xD5\xC1\xCB\xCB\xF9\xD3\xD0\xB5\xC4";  // 恭喜，你已经掌握了所有的
inline constexpr char kCongratulationsSuffix[] = "\xA3\xA1";                                             // ！
inline constexpr char kRetryRefused[] =
    "\xD2\xD1\xCC\xE1\xBD\xBB\xB2\xBB\xC4\xDC\xD6\xD8\xD0\xC2\xD7\xF7\xB4\xF0\xA3\xA1";  // 已提交不能重新作答！
inline constexpr char kRetryRefusedCaption[] = "\xCE\xC2\xDC\xB0\xCC\xE1\xCA\xBE";       // 温馨提示
inline constexpr char kResetQuestion[] =
    "\xC8\xB7\xB6\xA8\xD2\xAA\xD6\xD8\xD0\xC2\xC1\xB7\xCF\xB0\xCB\xF9\xD3\xD0\xC4\xDA\xC8\xDD\xC2\xF0\xA3\xBF";  // 确定要重新练习所有内容吗？
inline constexpr char kNoEnglishVoice[] =
    "\xB1\xBE\xBB\xFA\xC3\xBB\xD3\xD0\xD3\xA2\xD3\xEF\xD3\xEF\xD2\xF4";              // 本机没有英语语音
inline constexpr char kResetQuestionCaption[] = "\xB2\xD9\xD7\xF7\xC8\xB7\xC8\xCF";  // 操作确认

// Diagnostic lines (standard output only)
inline constexpr char kOpenFailed[] = "\xB4\xF2\xBF\xAA\xCE\xC4\xBC\xFE\xCA\xA7\xB0\xDC\xA1\xA3\n";  // 打开文件失败。\n
inline constexpr char kSaveFailed[] = "\xB1\xA3\xB4\xE6\xBD\xF8\xB6\xC8\xCA\xA7\xB0\xDC\xA1\xA3\n";  // 保存进度失败。\n
inline constexpr char kSelectionFormat[] = "%d:%s\xA1\xFA%s; crtRsl=%s.\n";  // %d:%s→%s; crtRsl=%s.\n
inline constexpr char kNewMarkFormat[] = "The new Rst is:%s\n";
// A second start on a progress file that a running copy holds.
inline constexpr char kAlreadyRunning[] =
    "Zembra \xD2\xD1\xD4\xDA\xD4\xCB\xD0\xD0\xA3\xAC\xD2\xD1\xB0\xD1\xCB\xFC\xB5\xC4\xB4\xB0\xBF\xDA\xB5\xF7"
    "\xB5\xBD\xC7\xB0\xC3\xE6\xA1\xA3\n";  // Zembra 已在运行，已把它的窗口调到前面。\n
// Once, when the answers cannot be spoken; %s: what is missing, in ASCII.
inline constexpr char kNoEnglishVoiceFormat[] =
    "\xB1\xBE\xBB\xFA\xC3\xBB\xD3\xD0\xD3\xA2\xD3\xEF\xD3\xEF\xD2\xF4\xA3\xBA%s\n";  // 本机没有英语语音：%s\n

}  // namespace zembra::texts
