// Every text the game puts on screen, as the Shift-JIS (code page 932) bytes it draws. Japanese
// segments are spelled as byte escapes, each commented with the text it stands for; a literal is
// split wherever an escape would otherwise swallow a following hex digit.
#pragma once

// Race screens.
inline constexpr char kTextSpeedFormat[] = "SPEED %d";
inline constexpr char kTextCountdownTime[] = "TIME  0";
inline constexpr char kTextRaceTimeFormat[] = "TIME  %d";
inline constexpr char kTextCount3[] = "  3";
inline constexpr char kTextCount2[] = "  2";
inline constexpr char kTextCount1[] = "  1";
inline constexpr char kTextCountStart[] = "START";
// "SHIFTを押すとギブれます"
inline constexpr char kTextGiveUpHint[] =
    "SHIFT"
    "\x82\xf0\x89\x9f\x82\xb7\x82\xc6\x83\x4d\x83\x75\x82\xea\x82\xdc\x82\xb7";

// Title and result screen.
inline constexpr char kTextTitle[] = "Tirravel";
inline constexpr char kTextResultTimeFormat[] = "TIME      %d";
inline constexpr char kTextResultGiveUp[] = "TIME   GIVE UP";
inline constexpr char kTextBestTimeFormat[] = "BEST      %d";
// "↑　　直進します"
inline constexpr char kTextControlsUp[] =
    "\x81\xaa\x81\x40\x81\x40\x92\xbc\x90\x69\x82\xb5\x82\xdc\x82\xb7";
// "←→　方向を変更します"
inline constexpr char kTextControlsTurn[] =
    "\x81\xa9\x81\xa8\x81\x40\x95\xfb\x8c\xfc\x82\xf0\x95\xcf\x8d\x58\x82\xb5\x82\xdc\x82\xb7";
// "SPACE 高度を上げます"
inline constexpr char kTextControlsSpace[] =
    "SPACE "
    "\x8d\x82\x93\x78\x82\xf0\x8f\xe3\x82\xb0\x82\xdc\x82\xb7";
inline constexpr char kTextPushShift[] = "PUSH SHIFT!";

// Device lines of the title screen, drawn in the system font.
inline constexpr char kTextDeviceInfoFormat[] = "[%s], [%s]";
// "[Ｚキーで変更できます]　ﾊﾞｲﾘﾆｱ・ﾌｨﾙﾀ有効"
inline constexpr char kTextFilterOn[] =
    "[\x82\x79\x83\x4c\x81\x5b\x82\xc5\x95\xcf\x8d\x58\x82\xc5\x82\xab\x82\xdc\x82\xb7]"
    "\x81\x40\xca\xde\xb2\xd8\xc6\xb1\x81\x45\xcc\xa8\xd9\xc0\x97\x4c\x8c\xf8";
// "[Ｚキーで変更できます]　ﾊﾞｲﾘﾆｱ・ﾌｨﾙﾀ無効"
inline constexpr char kTextFilterOff[] =
    "[\x82\x79\x83\x4c\x81\x5b\x82\xc5\x95\xcf\x8d\x58\x82\xc5\x82\xab\x82\xdc\x82\xb7]"
    "\x81\x40\xca\xde\xb2\xd8\xc6\xb1\x81\x45\xcc\xa8\xd9\xc0\x96\xb3\x8c\xf8";

// The face the screen texts ask for: "標準明朝", the standard Mincho.
inline constexpr char kTextFaceName[] = "\x95\x57\x8f\x80\x96\xbe\x92\xa9";
