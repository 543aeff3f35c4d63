// SPDX-License-Identifier: Zlib
#include "Commands.h"

namespace varnel::pack {

namespace {

// Each command with its one-line summary and its help text.
constexpr Command kCommands[] = {
    {"list", "list a pack's entries with their sizes",
     "usage: varnel-pack list PACK\n"
     "Lists the entries of the pack file PACK with their sizes in bytes.\n",
     RunList},
    {"extract", "extract every entry of a pack into a folder",
     "usage: varnel-pack extract PACK [DIR]\n"
     "Writes every entry of PACK into the folder DIR (made when missing; by default a folder named\n"
     "after the pack in the current folder). Entries whose names would lead out of the folder are\n"
     "skipped and reported.\n",
     RunExtract},
    {"add", "add a file to a pack",
     "usage: varnel-pack add [--force] PACK FILE [NAME]\n"
     "Appends FILE to the pack under NAME (by default the file's own name). A name the pack already\n"
     "holds (letter case aside) or one that would lead out of a folder is refused. A pack in the\n"
     "folder of a running game is left alone unless --force is given.\n",
     RunAdd},
    {"delete", "delete an entry from a pack",
     "usage: varnel-pack delete [--force] PACK NAME\n"
     "Removes the entry NAME from the pack and rewrites it. A pack in the folder of a running game\n"
     "is left alone unless --force is given.\n",
     RunDelete},
    {"create", "create a pack from files",
     "usage: varnel-pack create [--force] PACK FILE...\n"
     "Creates the pack file PACK holding the FILEs under their own names. An existing PACK, or a\n"
     "pack in the folder of a running game, is kept unless --force is given.\n",
     RunCreate},
    {"verify", "check that packs can be played",
     "usage: varnel-pack verify PACK...\n"
     "Makes every check the game makes before it lists a pack, and more: each level's pictures\n"
     "decode and have the size the layout shows; the rectangles lie inside the picture and do not\n"
     "overlap; each rectangle holds a visible difference and the pictures differ nowhere else.\n"
     "Prints one line per problem, or one line saying the pack is sound. Exit status 1 when any\n"
     "pack has a problem.\n",
     RunVerify},
    {"scores", "print a pack's high-score table",
     "usage: varnel-pack scores PACK\n"
     "Prints the ranks, scores and names of the pack's high-score table.\n",
     RunScores},
    {"reset-scores", "empty a pack's high-score table",
     "usage: varnel-pack reset-scores [--force] PACK\n"
     "Replaces the pack's high-score table by an empty one with as many ranks as before. A pack in\n"
     "the folder of a running game is left alone unless --force is given.\n",
     RunResetScores},
    {"make", "build a pack from a folder of picture pairs",
     "usage: varnel-pack make --layout vertical|horizontal --title TEXT [--info TEXT] [--rects FILE]\n"
     "                        [--force] DIR OUT.vnl\n"
     "Builds a pack from the picture pairs in DIR: 1.jpg with 1x.jpg, 2.png with 2x.png, ... (JPEG,\n"
     "PNG or BMP, any size; both pictures of a pair the same size). Each picture is scaled and cut\n"
     "in the middle to the size the layout shows (vertical 256 x 380, horizontal 380 x 256) and\n"
     "stored as JPEG. The five differences of each level are found by comparing the pair; a level\n"
     "where exactly five separate differences are not found is reported with what was found, and\n"
     "nothing is written.\n"
     "  --title TEXT   the pack's title, the first line of its description in the game\n"
     "  --info TEXT    more description (line breaks allowed)\n"
     "  --rects FILE   rectangles by hand: the layout of picinfo.ini, a section [n] per level with\n"
     "                 the keys 1Left, 1Right, 1Top, 1Bottom, ... 5Bottom in pixels of the shown\n"
     "                 picture, and optionally PicInfo, the caption; levels without a section are\n"
     "                 measured as usual\n"
     "  --force        replace an existing OUT.vnl, or write it while a game runs on its folder\n"
     "A file n.txt in DIR gives level n its caption.\n",
     RunMake},
    {"generate", "generate a new pack of illustrated levels",
     "usage: varnel-pack generate --layout vertical|horizontal --levels N --seed S [--theme NAME]\n"
     "                            [--force] OUT.vnl\n"
     "Draws N new levels (1 to 50) with the generator of the game's free data: each level an\n"
     "illustration and its copy with five differences, the rectangles known from the drawing. The\n"
     "same seed gives the same pack. --theme picks the theme by name or a word of it (Green Valley\n"
     "and Kitchen Table are horizontal, Under the Sea and City Nights vertical); without it the seed\n"
     "picks one of the layout's themes. --force replaces an existing OUT.vnl and writes it while\n"
     "a game runs on its folder.\n",
     RunGenerate},
    {"preview", "draw a contact sheet of a pack",
     "usage: varnel-pack preview PACK OUT.png\n"
     "Writes a PNG picture with every level's pair side by side and its rectangles drawn on both.\n",
     RunPreview},
    {"photos", "make a pack from a folder of photos",
     "usage: varnel-pack photos [--layout vertical|horizontal] [--title TEXT] [--info TEXT]\n"
     "                          [--difficulty easy|normal|hard] [--seed N] [--force] FOLDER OUT.vnl\n"
     "Makes a level of every JPEG or PNG photo in FOLDER (in name order, at most 50): the photo,\n"
     "turned upright, scaled and cut in the middle to the size the layout shows, and a copy with\n"
     "five differences made by image processing (details removed, recoloured, mirrored, enlarged,\n"
     "moved or copied in from elsewhere in the photo), placed on spots with detail. The pictures\n"
     "differ nowhere but in the five rectangles written for the level. Each level's caption is its\n"
     "photo's name. A photo that cannot be used is named with the reason and skipped; when none is\n"
     "left, nothing is written. Progress goes to standard error.\n"
     "  --layout       vertical (256 x 380) or horizontal (380 x 256); by default the layout most\n"
     "                 photos fit\n"
     "  --title TEXT   the pack's title (by default the folder's name)\n"
     "  --info TEXT    more description (line breaks allowed)\n"
     "  --difficulty   easy, normal (the default) or hard: the size and strength of the changes\n"
     "  --seed N       the same seed and photos give the same pack (by default 1)\n"
     "  --force        replace an existing OUT.vnl\n",
     RunPhotos},
};

}  // namespace

std::span<const Command> AllCommands() {
  return kCommands;
}

}  // namespace varnel::pack
