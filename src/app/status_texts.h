#pragma once
// The texts the player core shows on its status and busy labels.

#include <QString>

namespace tavo::texts {

inline const QString kListBusy = QStringLiteral("正在获取列表，请稍后...");
inline const QString kEntryBusy = QStringLiteral("正在获取列表，请稍后......");
inline const QString kListError = QStringLiteral("获取列表出错，无法连接服务器");
inline const QString kRefusedLink = QStringLiteral("这个榜单的链接不在榜单网站上，未获取");
inline const QString kSearching = QStringLiteral(" 正在获取链接...");
inline const QString kNoLink = QStringLiteral("无法获取歌曲链接。");
inline const QString kNoLocalLink = QStringLiteral("本地无歌曲链接，使用网络链接...");
inline const QString kNoNetLink = QStringLiteral("网络无法获取链接，转向下一首...");
inline const QString kNothingPlayable = QStringLiteral("列表中没有可播放的歌曲");
inline const QString kRefusedAddress = QStringLiteral("无法播放这个地址");
inline const QString kListFileTooLarge = QStringLiteral("列表文件过大（超过 32 MB），未读取");

}  // namespace tavo::texts
