// The tags of FLAC, Ogg Vorbis, Ogg Opus, M4A and APE-tagged files, written by mutagen into files built
// here and read back by mutagen, against what the ID3 reader gives for the same file. Then what the
// reader must not do: give a container's tag to the ID3 writer, or read a file its name rules out.

#include <stdio.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/host_fixture.h"
#include "common/media_builder.h"
#include "common/mp3_builder.h"
#include "media/container_tags.h"
#include "media/id3_reader.h"

namespace morva {
namespace {

std::optional<std::string> RunTool(const std::string& command) {
  std::unique_ptr<FILE, decltype(&pclose)> pipe(popen((command + " 2>/dev/null").c_str(), "r"), &pclose);
  if (!pipe) return std::nullopt;
  std::string out;
  char buffer[4096];
  while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe.get())) out.append(buffer, n);
  if (pclose(pipe.release()) != 0) return std::nullopt;
  return out;
}

// Writes the seven items and the album artist with mutagen's class for `kind`, then prints what mutagen
// reads back, one "item=value" line each, in UTF-8.
constexpr const char* kMutagenScript = R"PY(
import sys
import mutagen, mutagen.flac, mutagen.oggvorbis, mutagen.oggopus, mutagen.mp4, mutagen.apev2
kind, path = sys.argv[1], sys.argv[2]
items = dict(title='夜明けのうた', artist='アーティスト', album='Album 1', date='2019-05-01',
             track='3/12', comment='a comment', genre='Jazz', albumartist='Various')
if kind == 'mp4':
    f = mutagen.mp4.MP4(path)
    if f.tags is None: f.add_tags()
    for key, name in (('\xa9nam', 'title'), ('\xa9ART', 'artist'), ('\xa9alb', 'album'), ('\xa9day', 'date'),
                      ('\xa9cmt', 'comment'), ('\xa9gen', 'genre'), ('aART', 'albumartist')):
        f.tags[key] = [items[name]]
    f.tags['trkn'] = [(3, 12)]
    f.save()
    t = mutagen.mp4.MP4(path).tags
    got = dict(title=t['\xa9nam'][0], artist=t['\xa9ART'][0], album=t['\xa9alb'][0], date=t['\xa9day'][0],
               track='%d/%d' % t['trkn'][0], comment=t['\xa9cmt'][0], genre=t['\xa9gen'][0],
               albumartist=t['aART'][0])
elif kind == 'ape':
    t = mutagen.apev2.APEv2()
    for key, name in (('Title', 'title'), ('Artist', 'artist'), ('Album', 'album'), ('Year', 'date'),
                      ('Track', 'track'), ('Comment', 'comment'), ('Genre', 'genre'), ('Album Artist', 'albumartist')):
        t[key] = items[name]
    t.save(path)
    t = mutagen.apev2.APEv2(path)
    got = dict(title=str(t['Title']), artist=str(t['Artist']), album=str(t['Album']), date=str(t['Year']),
               track=str(t['Track']), comment=str(t['Comment']), genre=str(t['Genre']),
               albumartist=str(t['Album Artist']))
else:
    cls = dict(flac=mutagen.flac.FLAC, vorbis=mutagen.oggvorbis.OggVorbis, opus=mutagen.oggopus.OggOpus)[kind]
    f = cls(path)
    if f.tags is None: f.add_tags()
    for name in ('title', 'artist', 'album', 'date', 'comment', 'genre', 'albumartist'):
        f.tags[name] = [items[name]]
    f.tags['tracknumber'] = [items['track']]
    f.save()
    t = cls(path).tags
    got = dict((name, t[name][0]) for name in ('title', 'artist', 'album', 'date', 'comment', 'genre', 'albumartist'))
    got['track'] = t['tracknumber'][0]
for name in ('title', 'artist', 'album', 'date', 'track', 'comment', 'genre', 'albumartist'):
    sys.stdout.buffer.write(('%s=%s\n' % (name, got[name])).encode('utf-8'))
)PY";

std::map<std::string, std::string> ParseLines(const std::string& text) {
  std::map<std::string, std::string> out;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos) out[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return out;
}

class ContainerTagsTest : public testing::HostFixture {
 protected:
  void SetUp() override {
    testing::HostFixture::SetUp();
    ASSERT_TRUE(RunTool("/usr/bin/python3 -c 'import mutagen'")) << "mutagen is installed by scripts/install-deps.sh";
    script_ = dir_ / "write_tags.py";
    testing::WriteFile(script_, kMutagenScript);
  }

  std::string Cp932(const std::string& utf8) {
    std::string out;
    EXPECT_TRUE(codec_->Utf8ToCp932(utf8, &out).ok()) << utf8;
    return out;
  }

  std::string script_;
};

TEST_F(ContainerTagsTest, ReadsWhatMutagenWrites) {
  const testing::Mp3Contents mp3;
  struct Case {
    const char* name;
    const char* kind;
    std::string bytes;
    TagFormat format;
  } cases[] = {
      {"a.flac", "flac", testing::BuildFlac({}), TagFormat::kFlac},
      {"b.ogg", "vorbis", testing::BuildOgg(false, {"TITLE=old"}), TagFormat::kVorbis},
      {"c.opus", "opus", testing::BuildOgg(true, {}), TagFormat::kOpus},
      {"d.m4a", "mp4", testing::BuildM4aSkeleton(), TagFormat::kMp4},
      {"e.mp3", "ape", testing::BuildMp3(mp3), TagFormat::kApe},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = dir_ / c.name;
    testing::WriteFile(file, c.bytes);
    const std::optional<std::string> out =
        RunTool(std::string("/usr/bin/python3 '") + script_ + "' " + c.kind + " '" + file + "'");
    ASSERT_TRUE(out);
    std::map<std::string, std::string> tool = ParseLines(*out);
    ASSERT_EQ(tool.size(), 8u) << *out;
    tool["date"] = tool["date"].substr(0, 4);  // the year item of a date

    Id3Reader reader(*fs_, *codec_);
    const int versions = reader.Read(E(c.name), Id3ReadOptions{}, false);
    EXPECT_NE(versions & Id3Reader::kContainerTags, 0);
    EXPECT_EQ(reader.container_format(), c.format);
    const Id3v2Fields& t = reader.container_tags();
    const std::pair<const char*, const std::optional<std::string>*> fields[] = {
        {"title", &t.title}, {"artist", &t.artist}, {"album", &t.album},  {"date", &t.year},
        {"track", &t.track}, {"comment", &t.comment}, {"genre", &t.genre}, {"albumartist", &t.band}};
    for (const auto& [name, value] : fields) {
      ASSERT_TRUE(value->has_value()) << name;
      EXPECT_EQ(**value, Cp932(tool[name])) << name;
    }
    // The rules take the container's items.
    std::string title;
    EXPECT_EQ(reader.GetItem(versions, kId3Title, false, &title), Id3Reader::kContainerTags);
    EXPECT_EQ(title, Cp932(tool["title"]));
    // The probe agrees, and says nothing of ID3 tags the file does not have.
    EXPECT_EQ(reader.Read(E(c.name), Id3ReadOptions{}, true), versions);
    EXPECT_EQ(reader.version_string(), "000");
  }
}

TEST_F(ContainerTagsTest, NamesAndContentDecideWhatIsRead) {
  const std::string flac = testing::BuildFlac({"TITLE=Song", "ARTIST=A"});
  // A FLAC stream behind an ID3v2 tag: the ID3 tag belongs to an MP3 name only, the FLAC tag to both.
  const std::string tagged = testing::BuildFlac({"TITLE=Song"}, 300);
  // An MP3 file with an APE tag before its ID3v1 block, as players write it: both are read, and the
  // rules take the ID3v1 title first.
  const std::string ape_v1 = testing::BuildMp3(testing::Mp3Contents{}) + testing::ApeTag({{"TITLE", "Song"}}) +
                             testing::BuildId3v1(testing::Id3v1Block{"v1 title", "", "", "", "", 1, 8});
  struct Case {
    const char* name;
    std::string bytes;
    bool skip_extension_test;
    int versions;
  } cases[] = {
      {"a.flac", flac, false, Id3Reader::kContainerTags},
      {"b.txt", flac, false, 0},
      {"c.txt", flac, true, Id3Reader::kContainerTags},
      {"d.FLAC", tagged, false, Id3Reader::kContainerTags},
      {"e.mp3", tagged, false, 2 | Id3Reader::kContainerTags},
      // A comment block without a single item the rules know is no tag.
      {"f.flac", testing::BuildFlac({"ENCODER=x"}), false, 0},
      {"g.ogg", testing::BuildOgg(false, {}), false, 0},
      {"h.mp3", ape_v1, false, 1 | Id3Reader::kContainerTags},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::WriteFile(dir_ / c.name, c.bytes);
    Id3Reader reader(*fs_, *codec_);
    Id3ReadOptions options;
    options.skip_extension_test = c.skip_extension_test;
    EXPECT_EQ(reader.Read(E(c.name), options, false), c.versions);
    if (c.versions & Id3Reader::kContainerTags) {
      EXPECT_EQ(reader.container_tags().title, "Song");
      std::string title;
      EXPECT_EQ(reader.GetItem(c.versions, kId3Title, false, &title), c.versions & 1 ? 1 : Id3Reader::kContainerTags);
    }
  }
}

}  // namespace
}  // namespace morva
