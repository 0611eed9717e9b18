#include "profiles/Catalogue.h"

#include <string_view>

#include "runtime/Strings.h"

namespace profiles {
namespace {

// Every text below is used byte for byte, odd spellings and doubled blanks
// included: captions are stored in users' settings files, and the argument
// strings are what the encoder has always been given.
constexpr CatalogueEntry kCatalogue[] = {
    {"General Audio Format", "AC3 - Dolby Digital AC-3",
     "-f ac3 -acodec ac3 -ab 192kb -ar 48000 -ac 2 ", ".ac3"},
    {"General Audio Format", "M4A - MPEG4 Audio",
     "-vn -acodec libfaac -ab 112kb -ac 2 -ar 48000 ", ".m4a"},
    {"General Audio Format", "MP3 - MPEG Layer-3 Audio",
     "-vn -acodec libmp3lame -ab 128kb -ac 2 -ar 44100 ", ".mp3"},
    {"General Audio Format", "OGG - Ogg Vobis Audio",
     "-acodec vorbis -aq 60 -vn -ac 2 ", ".ogg"},
    {"General Audio Format", "WAV - Waveform Audio",
     "-vn -ac 2 -ar 44100 ", ".wav"},
    {"General Audio Format", "WMA - Windows Media Audio",
     "-vn  -acodec wmav2 -ab 160kb ", ".wma"},
    {"General Video Format", "AVI (*.avi)",
     "-acodec libmp3lame -vcodec msmpeg4 -ab 192kb -b 1000kb -ar 44100 ", ".avi"},
    {"General Video Format", "FLV (*.flv)",
     "-vcodec flv -f flv -level 6 -r 25 -b 400kb -ab 64kb -ar 22050 -ac 1 ", ".flv"},
    {"General Video Format", "H.264 (*.mp4)",
     "-vcodec libx264 -acodec libfaac -level 31 -b 2000kb -ar 44100 -ab 128kb -ac 2 ", ".mp4"},
    {"General Video Format", "MOV (*.mov)",
     "-f mov -acodec libfaac -b 1250kb -r 25 -ab 128kb -ac 2 -ar 44100 ", ".mov"},
    {"General Video Format", "MPEG-1 (*.mpg)",
     "-f mpeg -acodec mp2 -vcodec mpeg1video -b 1152k -ar 44100 -ab 128k ", ".mpg"},
    {"General Video Format", "MPEG-2 (*.mpg)",
     "-f mpeg -acodec mp2 -vcodec mpeg2video -b 1152k -ar 44100 -ab 128k ", ".mpg"},
    {"General Video Format", "MPEG-4 (*.mp4)",
     "-vcodec mpeg4 -acodec libfaac -b 1800kb -ar 44100 -ab 128kb -ac 2 ", ".mp4"},
    {"General Video Format", "WMV (*.wmv)",
     "-vcodec wmv2  -acodec wmav2 -b 1000kb -ab 160kb -r 25 ", ".wmv"},
    {"3GP Video", "3GP - Mobile High Quality (H263, 15 fps, 352x288; AAC)",
     "-r 15 -b 320kb -ac 1 -s 352x288 -ar 8000 -ab 12200 -acodec libfaac -vcodec h263 ", ".3gp"},
    {"3GP Video", "3GP - Mobile Standart Quality (H263, 12 fps, 176x144; AAC)",
     "-r 12 -b 160kb -ac 1 -s 176x144 -ar 8000 -ab 12200 -acodec libfaac -vcodec h263 ", ".3gp"},
    {"3GP Video", "3GP - Mobile Balanced Quality (H263, 12 fps, 176x144; AAC)",
     "-r 12 -b 60kb -ac 1 -s 176x144 -ar 8000 -ab 10200 -acodec libfaac -vcodec h263 ", ".3gp"},
    {"3GP Video", "3GP - Mobile Economy Quality (H263, 10 fps, 128x96; AAC)",
     "-r 10 -b 60kb -ac 1 -s 128x96 -ar 8000 -ab 10200 -acodec libfaac -vcodec h263 ", ".3gp"},
    {"Apple iPad", "iPad - MPEG-4 Video (24 fps, 640x480, 1.8MBit; AAC)",
     "-vcodec mpeg4 -acodec libfaac -s 640x480 -r 23.97 -b 1800kb -ar 48000 -ab 128kb -ac 2 ", ".mp4"},
    {"Apple iPad", "iPad - H.264 Video for 480p TV Out (25 fps, 640x480, 2.0MBit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 31 -s 640x480 -r 25 -b 2000kb -ar 48000 -ab 128kb -ac 2 ", ".mp4"},
    {"Apple iPad", "iPad - H.264 Video for 576p TV Out (30 fps, 720x576, 2.0MBit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 31 -s 720x576 -r 30 -b 2000kb -ar 48000 -ab 128kb -ac 2 ", ".mp4"},
    {"Apple iPad", "iPad - H.264 Video for 720p TV Out (30 fps, 1280x720, 3.5MBit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 31 -s 1280x720 -r 30 -b 3500kb -ar 48000 -ab 128kb -ac 2 ", ".mp4"},
    {"Apple iPhone", "iPhone - High Quality (H264, 30 fps, 640x480, 2.5MBit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 30 -s 640x480 -r 30 -b 2400kb -ar 48000 -ab 160kb -ac 2 ", ".mp4"},
    {"Apple iPhone", "iPhone - Standard Quality (H264, 24 fps, 480x320, 1.3MBit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 21 -s 480x320 -r 24 -b 1300kb -ar 44100 -ab 128kb -ac 2 ", ".mp4"},
    {"Apple iPhone", "iPhone - Economy Quality (H264, 15 fps, 320x240, 0.5MBit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 21 -s 320x240 -r 15 -b 500kb -ar 44100 -ab 128kb -ac 2 ", ".mp4"},
    {"Apple iPod", "iPod - Highest Quality (H264, 30 fps, 640x480, 2.5MBit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 30 -s 640x480 -r 30 -b 2500kb -ar 48000 -ab 160kb -ac 2 ", ".mp4"},
    {"Apple iPod", "iPod Touch - High Quality (H264, 30 fps, 480x320, 2.5MBit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 30 -s 480x320 -r 30 -b 2500kb -ar 48000 -ab 160kb -ac 2 ", ".mp4"},
    {"Apple iPod", "iPod Touch - Standard Quality (H264, 24 fps, 480x320, 1.3MBit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 21 -s 480x320 -r 24 -b 1300kb -ar 44100 -ab 128kb -ac 2 ", ".mp4"},
    {"Apple iPod", "iPod Touch - Economy Quality (H264, 15 fps, 320x240, 0.5MBit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 21 -s 320x240 -r 15 -b 500kb -ar 44100 -ab 128kb -ac 2 ", ".mp4"},
    {"Apple iPod", "iPod Classic - High Quality (H264, 30 fps, 320x240, 2.5MBit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 30 -s 320x240 -r 30 -b 2500kb -ar 48000 -ab 160kb -ac 2 ", ".mp4"},
    {"Apple iPod", "iPod Classic - Standard Quality (H264, 24 fps, 320x240, 1MBit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 21 -s 320x240 -r 24 -b 1000kb -ar 44100 -ab 128kb -ac 2 ", ".mp4"},
    {"Apple iPod", "iPod Classic - Economy Quality (H264, 15 fps, 320x240, 0.5MBit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 21 -s 320x240 -r 15 -b 500kb -ar 44100 -ab 128kb -ac 2 ", ".mp4"},
    {"Apple iPod", "iPod Nano - High Quality (H264, 30 fps, 320x240, 2.5MBit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 30 -s 320x240 -r 30 -b 2500kb -ar 48000 -ab 160kb -ac 2 ", ".mp4"},
    {"Apple iPod", "iPod Nano - Standard Quality (H264, 24 fps, 320x240, 1MBit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 21 -s 320x240 -r 24 -b 1000kb -ar 44100 -ab 128kb -ac 2 ", ".mp4"},
    {"Apple iPod", "iPod Nano - Economy Quality (H264, 15 fps, 320x240, 0.5MBit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 21 -s 320x240 -r 15 -b 500kb -ar 44100 -ab 128kb -ac 2 ", ".mp4"},
    {"Apple iPod", "iPod 5G - High Quality (MPEG4, 30 fps, 320x240; AAC)",
     "-vcodec mpeg4 -acodec libfaac -s 320x240 -r 30 -b 1400kb -ar 48000 -ab 192kb -ac 2 ", ".mp4"},
    {"Apple iPod", "iPod 5G - Standard Quality (MPEG4, 24 fps, 320x240; AAC)",
     "-vcodec mpeg4 -acodec libfaac -s 320x240 -r 24 -b 800kb -ar 44100 -ab 128kb -ac 2 ", ".mp4"},
    {"Apple iPod", "iPod 5G - Economy Quality (MPEG4, 15 fps, 176x144; AAC)",
     "-vcodec mpeg4 -acodec libfaac -s 176x144 -r 15 -b 400kb -ar 22050 -ab 64kb -ac 1 ", ".mp4"},
    {"Apple TV", "Apple TV - High Quality (H264, 24 fps, 1280x720, 5Mbit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 31 -s 1280x720 -r 24 -b 4900kb -ar 48000 -ab 160kb -ac 2 ", ".mp4"},
    {"Apple TV", "Apple TV - Standard Quality (H264, 24 fps, 720x540, 2Mbit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 31 -s 720x540 -r 24 -b 2000kb -ar 48000 -ab 128kb -ac 2 ", ".mp4"},
    {"Apple TV", "Apple TV - Economy Quality (MPEG4, 24 fps, 480x360, 1Mbit; AAC)",
     "-vcodec mpeg4 -acodec libfaac -level 22 -s 480x360 -r 24 -b 1000kb -ar 48000 -ab 128kb -ac 2 ", ".mp4"},
    {"AVI", "AVI - XviD FullScreen (30 fps, 640x480, 1.5MBit; MP3)",
     "-f avi -r 29.97 -vcodec libxvid -vtag XVID -s 640x480 -aspect 4:3 -maxrate 1800kb -b 1500kb -qmin 3 -qmax 5 -bufsize 4096 -mbd 2 -bf 2 -flags +4mv -trellis -aic -cmp 2 -subcmp 2 -g 300 -acodec libmp3lame -ar 48000 -ab 128kb -ac 2 ", ".avi"},
    {"AVI", "AVI - XviD Widescreen (30 fps, 704x384, 1.5MBit; MP3)",
     "-f avi -r 29.97 -vcodec libxvid -vtag XVID -s 704x384 -aspect 16:9 -maxrate 1800k -b 1500k -qmin 3 -qmax 5 -bufsize 4096 -mbd 2 -bf 2 -flags +4mv -trellis -aic -cmp 2 -subcmp 2 -g 300 -acodec libmp3lame -ar 48000 -ab 128k -ac 2 ", ".avi"},
    {"AVI", "AVI - XviD Widescreen Anamorphic (30 fps, 640x272, 1.5MBit; MP3)",
     "-f avi -r 29.97 -croptop 58 -cropbottom 62 -vcodec libxvid -vtag XVID -s 640x272 -aspect 2.35 -maxrate 1800kb -b 1500kb -qmin 3 -qmax 5 -bufsize 4096 -mbd 2 -bf 2 -flags +4mv -trellis -aic -cmp 2 -subcmp 2 -g 300 -acodec libmp3lame -ar 48000 -ab 128kb -ac 2 ", ".avi"},
    {"AVI", "AVI - MS Compatible AVI (640x480, 1MBit; MP3)",
     "-acodec libmp3lame -vcodec msmpeg4 -ab 192kb -b 1000kb -s 640x480 -ar 44100 ", ".avi"},
    {"BlackBerry", "BlackBerry - High Quality (H264, 30 fps, 640x480, 2.5MBit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 21 -s 640x480 -r 30 -b 2400kb -ar 48000 -ab 160kb -ac 2 ", ".mp4"},
    {"BlackBerry", "BlackBerry - Standard Quality (H264, 24 fps, 480x320, 1.3MBit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 21 -s 480x320 -r 24 -b 1300kb -ar 44100 -ab 128kb -ac 2 ", ".mp4"},
    {"BlackBerry", "BlackBerry - Economy Quality (H264, 15 fps, 320x240, 0.5MBit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 21 -s 320x240 -r 15 -b 500kb -ar 44100 -ab 128kb -ac 2 ", ".mp4"},
    {"Creative Zen", "Creative Zen Fullscreen",
     "-f avi -r 29.97 -vcodec libxvid -vtag XVID -s 320x240 -aspect 4:3 -maxrate 1800kb -b 1500k  -acodec libmp3lame -ar 48000 -ab 128kb -ac 2 ", ".avi"},
    {"Creative Zen", "Creative Zen Widescreen",
     "-f avi -r 29.97 -vcodec libxvid -vtag XVID -s 320x240 -aspect 16:9 -maxrate 1800kb -b 1500kb  -acodec libmp3lame -ar 48000 -ab 128kb -ac 2 ", ".avi"},
    {"DV", "Raw DV for NTSC Fullscreen",
     "-target ntsc-dv -aspect 4:3 -f dv ", ".dv"},
    {"DV", "Raw DV for PAL Fullscreen",
     "-target pal-dv -aspect 4:3 -f dv ", ".dv"},
    {"DVD", "NTSC DVD Fullscreen",
     "-f dvd -vcodec mpeg2video -r 29.97 -s 352x480 -aspect 4:3 -b 4000kb -mbd rd -trellis -mv0 -cmp 2 -subcmp 2 -acodec mp2 -ab 192kb -ar 48000 -ac 2 ", ".mpg"},
    {"DVD", "NTSC DVD Widescreen",
     "-f dvd -vcodec mpeg2video -r 29.97 -s 352x480 -aspect 16:9 -b 4000kb -mbd rd -trellis -mv0 -cmp 2 -subcmp 2 -acodec mp2 -ab 192kb -ar 48000 -ac 2 ", ".mpg"},
    {"DVD", "NTSC DVD HQ Fullscreen",
     "-f dvd -target ntsc-dvd -r 29.97 -s 720x480 -aspect 4:3 -b 8000kb -mbd rd -trellis -mv0 -cmp 0 -subcmp 2 ", ".mpg"},
    {"DVD", "NTSC DVD HQ Widescreen",
     "-f dvd -target ntsc-dvd -r 29.97 -s 720x480 -aspect 16:9 -b 8000kb -g 12 -mbd rd -trellis -mv0 -cmp 0 -subcmp 2 ", ".mpg"},
    {"DVD", "NTSC DVD Fast (LQ)",
     "-f dvd -target ntsc-dvd -b 5000kb -r 29.97 -s 720x480 -ar 48000 -ab 384kb ", ".mpg"},
    {"DVD", "PAL DVD Fullscreen",
     "-f dvd -vcodec mpeg2video -r 25.00 -s 352x576  -aspect 4:3 -b 4000kb -mbd rd -trellis -mv0 -cmp 2 -subcmp 2 -acodec mp2 -ab 192kb -ar 48000 -ac 2 ", ".mpg"},
    {"DVD", "PAL DVD Widescreen",
     "-f dvd -vcodec mpeg2video -r 25.00 -s 352x576 -aspect 16:9 -b 4000kb -mbd rd -trellis -mv0 -cmp 2 -subcmp 2 -acodec mp2 -ab 192kb -ar 48000 -ac 2 ", ".mpg"},
    {"DVD", "PAL DVD HQ Fullscreen",
     "-f dvd -target pal-dvd -aspect 4:3 -b 8000kb -mbd rd -trellis -mv0 -cmp 0 -subcmp 2 ", ".mpg"},
    {"DVD", "PAL DVD HQ Widescreen",
     "-f dvd -target pal-dvd -aspect 16:9 -b 8000kb -mbd rd -trellis -mv0 -cmp 0 -subcmp 2 ", ".mpg"},
    {"DVD", "PAL DVD Fast (LQ)",
     "-f dvd -target pal-dvd -b 5000kb -r 25 -s 720x576 -ar 48000 -ab 384kb ", ".mpg"},
    {"Flash Video Movie (*.flv)", "FLV - Normal Quality (320x240, 400 Kbit, Mono)",
     "-vcodec flv -f flv -level 6 -r 25 -s 320x240 -b 400kb -ab 64kb -ar 22050 -ac 1 ", ".flv"},
    {"Flash Video Movie (*.flv)", "FLV - High Quality (480x360, 760 Kbit, Stereo)",
     "-vcodec flv -f flv -level 6 -r 25 -s 480x360 -b 760kb -ab 128kb -ar 44100 -ac 2 ", ".flv"},
    {"Flash Video Movie (*.flv)", "FLV - High Definition (1280x720, 2 Mbit, Stereo)",
     "-vcodec flv -f flv -acodec libfaac -level 6 -r 25 -s 1280x720 -b 2000kb -ab 256kb -ar 48000 -ac 2 ", ".flv"},
    {"Google Android", "Google Android compatible video",
     "-s 480x320 -vcodec mpeg4 -acodec libfaac -ac 1 -ar 16000 -r 13 -ab 32000 -aspect 3:2 ", ".mp4"},
    {"Google Android", "Google Android compatible video. Video bitrate: 480 kb/s",
     "-s 480x320 -vcodec mpeg4 -b 480k -acodec libfaac -ac 1 -ar 16000 -r 13 -ab 32000 -aspect 3:2 ", ".mp4"},
    {"MP4 Mobile Phones", "High Resolution (MPEG4, 25 fps, 640x360, 1Mit; AAC)",
     "-vcodec mpeg4 -acodec libfaac -s 640x360 -r 25 -b 1000kb -ar 48000 -ab 192kb -ac 2 ", ".mp4"},
    {"MP4 Mobile Phones", "High Quality (MPEG4, 15 fps, 320x240, 600KBit; AAC)",
     "-vcodec mpeg4 -acodec libfaac -s 320x240 -r 15 -b 600kb -ar 48000 -ab 192kb -ac 2 ", ".mp4"},
    {"MP4 Mobile Phones", "Standard Quality (MPEG4, 15 fps, 176x144, 256KBit; AAC)",
     "-vcodec mpeg4 -acodec libfaac -s 176x144 -r 15 -b 256kb -ar 48000 -ab 128kb -ac 2 ", ".mp4"},
    {"MP4 Mobile Phones", "Balanced Quality (MPEG4, 12 fps, 176x144, 146KBit; AAC)",
     "-vcodec mpeg4 -acodec libfaac -s 176x144 -r 12 -b 146kb -ar 32000 -ab 96kb -ac 2 ", ".mp4"},
    {"MP4 Mobile Phones", "Economy Quality (MPEG4, 10 fps, 128x96, 119KBit; AAC)",
     "-vcodec mpeg4 -acodec libfaac -s 128x96 -r 10 -b 119kb -ar 22050 -ab 64kb -ac 2 ", ".mp4"},
    {"Nokia", "Nokia N810 mplayer 4:3",
     "-r 29.97 -vcodec libxvid -vtag XVID -s 400x240 -aspect 4:3  -maxrate 1200k -b 1200k -qmin 3 -qmax 5 -bufsize 4096 -mbd 2 -bf 2 -cmp 2 -subcmp 2 -g 300 -acodec libmp3lame -ar 44100 -ab 160k -ac 2 -async 1 ", ".mp4"},
    {"Nokia", "Nokia N810 mplayer 16:9",
     "-r 29.97 -vcodec libxvid -vtag XVID -s 400x240 -aspect 16:9 -maxrate 1200k -b 1200k -qmin 3 -qmax 5 -bufsize 4096 -mbd 2 -bf 2 -flags +4mv -trellis -aic -cmp 2 -subcmp 2 -g 300 -acodec libmp3lame -ar 44100 -ab 160k -ac 2 -async 1 ", ".mp4"},
    {"Nokia", "Nokia N810 mplayer CinemaScope 24:10",
     "-r 29.97 -vcodec libxvid -vtag XVID -s 400x240 -aspect 24:10 -maxrate 1200k -b 1200k -qmin 3 -qmax 5 -bufsize 4096 -mbd 2 -bf 2 -flags +4mv -trellis -aic -cmp 2 -subcmp 2 -g 300 -acodec libmp3lame -ar 44100 -ab 160k -ac 2 -async 1 ", ".mp4"},
    {"Nokia", "Nokia Nxx Video WideScreen",
     "-f mp4 -r 15 -vcodec mpeg4 -s 320x240 -b 320kb -aspect 16:9 -acodec libfaac -ab 96kb -ar 44100 -ac 2 ", ".mp4"},
    {"Nokia", "Nokia Nxx Video FullScreen",
     "-f mp4 -r 15 -vcodec mpeg4 -s 320x240 -b 320kb -aspect 4:3 -acodec libfaac -ab 96kb -ar 44100 -ac 2 ", ".mp4"},
    {"Palm", "Palm Fullscreen",
     "-f mp4 -r 29.97 -vcodec libxvid -s 428x320 -aspect 4:3 -maxrate 550kb -b 500kb -qmin 3 -qmax 5 -bufsize 4096 -mbd 2 -flags +4mv -trellis -aic -cmp 2 -subcmp 2 -g 300 -acodec libfaac -ar 44100 -ab 80kb -ac 2 ", ".mp4"},
    {"Palm", "Palm Widescreen",
     "-f mp4 -r 29.97 -vcodec libxvid -s 480x320 -aspect 3:2 -maxrate 450kb -b 430kb -qmin 3 -qmax 5 -bufsize 4096 -mbd 2 -flags +4mv -trellis -aic -cmp 2 -subcmp 2 -g 300 -acodec libfaac -ar 44100 -ab 80kb -ac 2 ", ".mp4"},
    {"Quicktime (*.mov)", "Quicktime MOV",
     "-f mov -acodec libfaac -b 1250kb -r 25 -ab 128kb -s 640x480 -ac 2 -ar 48000 ", ".mov"},
    {"Quicktime (*.mov)", "QuickTime H.264 video (high quality)",
     "-crf 35.0 -vcodec libx264 -acodec libfaac -ar 48000 -ab 128kb -coder 1 -flags +loop -cmp +chroma -partitions +parti4x4+partp8x8+partb8x8 -me_method hex -subq 6 -me_range 16 -g 250 -keyint_min 25 -sc_threshold 40 -i_qfactor 0.71 -b_strategy 1 -threads 0 ", ".mov"},
    {"Quicktime (*.mov)", "QuickTime H.264 video (very high quality)",
     "-crf 25.0 -vcodec libx264 -acodec libfaac -ar 48000 -ab 160kb -coder 1 -flags +loop -cmp +chroma -partitions +parti4x4+partp8x8+partb8x8 -me_method hex -subq 6 -me_range 16 -g 250 -keyint_min 25 -sc_threshold 40 -i_qfactor 0.71 -b_strategy 1 -threads 0 ", ".mov"},
    {"Quicktime (*.mov)", "QuickTime H.264 video (super high quality)",
     "-crf 15.0 -vcodec libx264 -acodec libfaac -ar 48000 -ab 192kb -coder 1 -flags +loop -cmp +chroma -partitions +parti4x4+partp8x8+partb8x8 -me_method hex -subq 6 -me_range 16 -g 250 -keyint_min 25 -sc_threshold 40 -i_qfactor 0.71 -b_strategy 1 -threads 0 ", ".mov"},
    {"ShockwaveFlash (*.swf)", "SWF - Normal Quality (320x240, 400 Kbit, Mono)",
     "-f swf -level 5 -r 25 -s 320x240 -b 400kb -ab 64kb -ar 22050 -ac 1 ", ".swf"},
    {"ShockwaveFlash (*.swf)", "SWF - High Quality (480x360, 760 Kbit, Stereo)",
     "-f swf -level 5 -r 25 -s 480x360 -b 760kb -ab 128kb -ar 44100 -ac 2 ", ".swf"},
    {"ShockwaveFlash (*.swf)", "SWF - High Definition (1280x720, 2 Mbit, Stereo)",
     "-f swf -level 5 -r 25 -s 1280x720 -b 2000kb -ab 192kb -ar 44100 -ac 2 ", ".swf"},
    {"Sony Bravia", "Sony Bravia mpeg1 640x480",
     "-acodec libmp3lame -ab 128kb -ar 44100 -vcodec mpeg1video -s vga -b 640kb -strict -1 ", ".mpg"},
    {"Sony Bravia", "Sony Bravia mpeg1 640x360",
     "-acodec libmp3lame -ab 128kb -ar 44100 -vcodec mpeg1video -s 640x360 -b 640kb -strict -1 ", ".mpg"},
    {"Sony Bravia", "Sony Bravia mpeg1 320x240",
     "-acodec libmp3lame -ab 128kb -ar 44100 -vcodec mpeg1video -s 320x240 -b 480kb -strict -1 ", ".mpg"},
    {"Sony Bravia", "Sony Bravia mpeg1 320x180",
     "-acodec libmp3lame -ab 128kb -ar 44100 -vcodec mpeg1video -s 320x180 -b 480kb -strict -1 ", ".mpg"},
    {"Sony PS3", "PS3 - 720p Widescreen",
     "-f mp4 -r 23.976 -vcodec libx264 -s 1280x720 -b 3000kb -aspect 16:9 -flags +loop -cmp +chroma -deblockalpha 0 -deblockbeta 0  -maxrate 3500k -bufsize 4M -bt 256k -refs 1 -bf 3 -coder 1 -me_method umh -me_range 16 -subq 7 -partitions +parti4x4+parti8x8+partp8x8+partb8x8 -g 250 -keyint_min 25 -level 30 -qmin 10 -qmax 51 -qcomp 0.6 -trellis 2 -sc_threshold 40 -i_qfactor 0.71 -acodec libfaac -ab 384kb -ar 48000 -ac 2 ", ".mp4"},
    {"Sony PS3", "PS3 - 720p Fullscreen",
     "-f mp4 -r 23.976 -vcodec libx264 -s 1280x720 -b 3000kb -aspect 4:3 -flags +loop -cmp +chroma -deblockalpha 0 -deblockbeta 0  -maxrate 3500k -bufsize 4M -bt 256k -refs 1 -bf 3 -coder 1 -me_method umh -me_range 16 -subq 7 -partitions +parti4x4+parti8x8+partp8x8+partb8x8 -g 250 -keyint_min 25 -level 30 -qmin 10 -qmax 51 -qcomp 0.6 -trellis 2 -sc_threshold 40 -i_qfactor 0.71 -acodec libfaac -ab 384kb -ar 48000 -ac 2 ", ".mp4"},
    {"Sony PSP", "PSP - Highest Quality (H264, 30 fps, 480x272, 1.5MBit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 41 -s 480x272 -r 30 -b 1500kb -ar 48000 -ab 160kb -ac 2 ", ".mp4"},
    {"Sony PSP", "PSP - Optimal Quality (H264, 24 fps, 368x208, 1MBit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 41 -s 368x208 -r 24 -b 1000kb -ar 44100 -ab 128kb -ac 2 ", ".mp4"},
    {"Sony PSP", "PSP - Economy Quality (H264, 15 fps, 368x208, 0.5MBit; AAC)",
     "-vcodec libx264 -acodec libfaac -level 42 -s 368x208 -r 15 -b 500kb -ar 44100 -ab 128kb -ac 2 ", ".mp4"},
    {"Sony Walkman", "Walkman - Xvid walkman (4:3)",
     "-r 29.97 -vcodec libxvid -s 320x240 -aspect 4:3 -maxrate 1500k -b 1250k -qmin 3 -qmax 5 -bufsize 4096 -mbd 2 -cmp 2 -subcmp 2 -g 300 -acodec libfaac -ar 48000 -ab 80k -ac 2 ", ".mp4"},
    {"VCD", "NTSC VCD (HQ)",
     "-f vcd -target ntsc-vcd -mbd rd -trellis -mv0 -cmp 0 -subcmp 2 ", ".mpg"},
    {"VCD", "PAL VCD (HQ)",
     "-f vcd -target pal-vcd -mbd rd -trellis -mv0 -cmp 0 -subcmp 2 ", ".mpg"},
    {"WMV", "WMV2 Generic",
     "-vcodec wmv2  -acodec wmav2 -b 1000kb -ab 160kb -r 25 ", ".wmv"},
    {"WMV", "WMV for Web Use",
     "-vcodec wmv2  -acodec wmav2 -b 640kb -ab 128kb -r 29.97 -s 320x240 ", ".wmv"},
    {"WMV", "Xbox 360",
     "-vcodec wmv2  -acodec wmav2 -b 1200kb -ab 160kb -r 25 -s 720x480 ", ".wmv"},
    {"WMV", "Zune",
     "-vcodec wmv2  -acodec wmav2 -b 640kb -ab 128kb -r 23.97 -s 320x240 ", ".wmv"},
    {"WMV", "Power Point",
     "-vcodec wmv2  -acodec wmav2 -aspect 4:3 -b 500k -ab 32k -ac 1 -ar 22050 -s 320x240 ", ".wmv"},
};

constexpr const char kManualPrefix[] = "ffmpeg -i %1 ";
constexpr const char kOutputMark[] = "%1.";

// A manual command line is recognised by its first word alone; the rest of
// the prefix (" -i %1 ") is skipped untested.
bool IsManualCommandLine(const std::string& caption) {
    return text::StartsWith(text::LowerAZ(caption), "ffmpeg");
}

// Compares every entry with no early exit, so the result does not depend on
// where a match sits; captions are unique, so at most one matches.
std::string LookUp(const std::string& caption, const char* CatalogueEntry::*field) {
    std::string result;
    for (const CatalogueEntry& entry : kCatalogue)
        if (caption == entry.caption) result = entry.*field;
    return result;
}

}  // namespace

std::span<const CatalogueEntry> Catalogue() {
    return kCatalogue;
}

std::vector<std::string> CatalogueGroups() {
    std::vector<std::string> groups;
    for (const CatalogueEntry& entry : kCatalogue)
        if (groups.empty() || groups.back() != entry.group) groups.emplace_back(entry.group);
    return groups;
}

std::string GetProfileArguments(const std::string& caption) {
    std::string result = LookUp(caption, &CatalogueEntry::arguments);
    if (IsManualCommandLine(caption)) {
        // Up to the first "%1.", keeping the blank in front of it: the
        // argument string must end with a blank like the catalogue's. With no
        // "%1." the count is negative and the result empty.
        const long long p = text::Pos(kOutputMark, caption);
        result = text::Copy(caption, 14, p - 14);
    }
    return result;
}

std::string GetProfileExtension(const std::string& caption) {
    std::string result = LookUp(caption, &CatalogueEntry::extension);
    if (IsManualCommandLine(caption)) {
        // From the "." of the first "%1." to the end. A line without "%1."
        // (only a hand-edited settings file holds one) has no extension.
        const long long p = text::Pos(kOutputMark, caption);
        const long long n = static_cast<long long>(caption.size());
        result = p == 0 ? std::string() : text::Copy(caption, p + 2, n - p - 1);
    }
    return result;
}

std::string ComposeManualCommandLine(const std::string& options, const std::string& extension) {
    return kManualPrefix + options + " " + kOutputMark + extension;
}

bool SplitManualCommandLine(const std::string& caption, std::string& options, std::string& extension) {
    const long long p = text::Pos(kOutputMark, caption);
    if (!IsManualCommandLine(caption) || p == 0) return false;
    const long long n = static_cast<long long>(caption.size());
    // The blank in front of "%1." belongs to neither field.
    options = text::Copy(caption, 14, p - 15);
    extension = text::Copy(caption, p + 3, n - p - 2);
    return true;
}

bool IsAcceptableExtension(const std::string& extension) {
    if (extension.empty()) return false;
    for (const char c : extension) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) return false;
        if (std::string_view("\\/:\"*?<>|").find(c) != std::string_view::npos) return false;
    }
    const auto atEdge = [](char c) { return c == ' ' || c == '.'; };
    return !atEdge(extension.front()) && !atEdge(extension.back());
}

bool ManualExtensionRefused(const std::string& caption) {
    if (!IsManualCommandLine(caption)) return false;
    // The extension as the conversion would use it, without its dot; a line
    // without "%1." has none at all.
    const std::string extension = GetProfileExtension(caption);
    return !IsAcceptableExtension(extension.empty() ? extension : extension.substr(1));
}

}  // namespace profiles
