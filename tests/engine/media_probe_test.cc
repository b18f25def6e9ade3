#include "engine/media_probe.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/jpeg_builder.h"
#include "common/media_builder.h"
#include "common/mp3_builder.h"
#include "engine/target_enumeration.h"

namespace morva {
namespace {

using Targets = std::vector<std::string>;

// A tree of photographs, MP3 files and others: the filters, the Exif sort key and the list's markers
// read them through the media readers.
class MediaProbeTest : public testing::EngineFixture {
 protected:
  MediaProbeTest() {
    testing::JpegContents dated;
    dated.date_time_original = "2013:05:04 13:02:09";
    MakeFile("a.jpg", testing::BuildJpeg(dated));
    testing::JpegContents undated;  // Exif, but no date the default option asks for
    undated.date_time = "2001:01:01 00:00:00";
    MakeFile("b.jpg", testing::BuildJpeg(undated));
    testing::JpegContents older;
    older.date_time_original = "2010:01:01 10:00:00";
    older.big_endian = true;
    MakeFile("c.JPG", testing::BuildJpeg(older));
    MakeFile("d.txt", testing::BuildJpeg(dated));  // Exif inside, but the name says otherwise

    testing::Mp3Contents both;
    both.v2_version = 3;
    both.frames.push_back(testing::Id3v2Frame{"TIT2", 0, "Title"});
    both.v1 = testing::Id3v1Block{};
    MakeFile("e.mp3", testing::BuildMp3(both));
    testing::Mp3Contents v1_only;
    v1_only.v1 = testing::Id3v1Block{};
    MakeFile("f.mp3", testing::BuildMp3(v1_only));
    MakeFile("g.txt", "text");

    testing::JpegContents phone;
    phone.date_time_original = "2012:03:04 05:06:07";
    MakeFile("h.heic", testing::BuildHeic(testing::BuildExifTiff(phone), false));
    testing::MovieContents movie;
    movie.creation_date = "2011-02-03T04:05:06+0900";
    movie.created = testing::MovieTime(1296673506);
    MakeFile("i.mov", testing::BuildMovie(movie));
    MakeFile("j.flac", testing::BuildFlac({"TITLE=Song"}));
  }

  Targets Enumerate() {
    session.run.targets.clear();
    EXPECT_TRUE(EnumerateDirectory(session.walk(), E(dir.path()), false));
    FlushSorted(session.walk());
    return RelativeTargets();
  }

  EntryRow Row(const std::string& name) {
    FindData data;
    EXPECT_TRUE(fs.Stat(E(dir.Sub(name)), &data).ok());
    return DescribeEntry(session.job.app, session.exif, session.id3, E(dir.path()), data);
  }
};

TEST_F(MediaProbeTest, FiltersKeepFilesWithTheDateItemOrATag) {
  session.job.app.sw_set[7] = true;
  EXPECT_EQ(Enumerate(), (Targets{"a.jpg", "c.JPG", "h.heic", "i.mov"}));
  // Another date item finds another set of photographs.
  session.job.app.opt_2 = 1;
  EXPECT_EQ(Enumerate(), (Targets{"b.jpg"}));
  session.job.app.opt_2 = 2;
  // Without the extension test the content alone decides.
  session.job.app.sw_opt[6] = true;
  EXPECT_EQ(Enumerate(), (Targets{"a.jpg", "c.JPG", "d.txt", "h.heic", "i.mov"}));
  session.job.app.sw_opt[6] = false;

  session.job.app.sw_set[7] = false;
  session.job.app.sw_set[8] = true;
  EXPECT_EQ(Enumerate(), (Targets{"e.mp3", "f.mp3", "j.flac"}));
  // The ID3 conversion writes ID3 tags only: a FLAC file's tag does not make it a target of it.
  session.job.settings.sw_id3[0] = 1;
  EXPECT_EQ(Enumerate(), (Targets{"e.mp3", "f.mp3"}));
}

TEST_F(MediaProbeTest, ExifSortKeyPutsUndatedFilesLast) {
  session.run.sort = SortParameters{true, true, 3};
  EXPECT_EQ(Enumerate(),
            (Targets{"c.JPG", "i.mov", "h.heic", "a.jpg", "b.jpg", "d.txt", "e.mp3", "f.mp3", "g.txt", "j.flac"}));
  // The key is the same whether the reader answers from its cache or from the file.
  std::string first, second;
  ASSERT_TRUE(HasExifDate(session.exif, session.job.app, E(dir.Sub("a.jpg")), &first));
  ASSERT_TRUE(HasExifDate(session.exif, session.job.app, E(dir.Sub("a.jpg")), &second));
  EXPECT_EQ(first, "2013:05:04 13:02:09");
  EXPECT_EQ(second, first);
  // Descending, the files without a date ("Z") come first, in listing order.
  session.run.sort.ascending = false;
  EXPECT_EQ(Enumerate(),
            (Targets{"b.jpg", "d.txt", "e.mp3", "f.mp3", "g.txt", "j.flac", "a.jpg", "h.heic", "i.mov", "c.JPG"}));
}

TEST_F(MediaProbeTest, ListMarkersNameWhatTheFileCarries) {
  session.job.app.sw_opt[5] = true;
  EXPECT_EQ(Row("a.jpg").marker, "Exif");
  EXPECT_EQ(Row("a.jpg").exif_date, "2013/05/04 13:02:09");
  EXPECT_EQ(Row("b.jpg").marker, "");
  EXPECT_EQ(Row("e.mp3").marker, "ID3v2.3/v1");
  EXPECT_EQ(Row("f.mp3").marker, "ID3v1");
  EXPECT_EQ(Row("g.txt").marker, "");
  EXPECT_EQ(Row("h.heic").exif_date, "2012/03/04 05:06:07");
  EXPECT_EQ(Row("i.mov").marker, "Exif");
  EXPECT_EQ(Row("i.mov").exif_date, "2011/02/03 04:05:06");
  EXPECT_EQ(Row("j.flac").marker, "FLAC");
  session.job.app.sw_opt[5] = false;
  EXPECT_EQ(Row("a.jpg").exif_date, "");
}

}  // namespace
}  // namespace morva
