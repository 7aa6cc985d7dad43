#include "view/program/view_arguments.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

bool parse(std::vector<const char*> words, ViewArguments& arguments, std::string& error) {
  words.insert(words.begin(), "boxpaint-view");
  return parseViewArguments(static_cast<int>(words.size()), words.data(), arguments, error);
}

TEST(ParseViewArgumentsTest, ReadsTheForms) {
  struct Case {
    std::vector<const char*> words;
    OutputKind output;
    SliceAxis axis;
    bool byCoordinate;
    int64_t index;
    double coordinate;
  };
  const Case cases[] = {
      {{"m", "v", "out.vtr"}, OutputKind::Grid, SliceAxis::Elevation, false, 0, 0},
      {{"m", "v", "OUT.VTR"}, OutputKind::Grid, SliceAxis::Elevation, false, 0, 0},
      {{"m", "v", "p.png", "--slice", "z=3"},
       OutputKind::Picture,
       SliceAxis::Elevation,
       false,
       3,
       0},
      {{"--slice=e=12", "m", "v", "p.png"}, OutputKind::Picture, SliceAxis::Easting, false, 12, 0},
      {{"m", "--slice", "N@-85.5", "v", "p.PNG"},
       OutputKind::Picture,
       SliceAxis::Northing,
       true,
       0,
       -85.5},
      {{"m", "v", "p.png", "--slice", "z@1e3"},
       OutputKind::Picture,
       SliceAxis::Elevation,
       true,
       0,
       1000},
  };
  for (const Case& c : cases) {
    ViewArguments arguments;
    std::string error;
    ASSERT_TRUE(parse(c.words, arguments, error)) << error;
    EXPECT_STREQ(arguments.meshName, "m");
    EXPECT_STREQ(arguments.modelName, "v");
    EXPECT_EQ(arguments.output, c.output);
    if (c.output == OutputKind::Picture) {
      EXPECT_EQ(arguments.slice.axis, c.axis);
      EXPECT_EQ(arguments.slice.byCoordinate, c.byCoordinate);
      EXPECT_EQ(c.byCoordinate ? arguments.slice.coordinate : arguments.slice.index,
                c.byCoordinate ? c.coordinate : c.index);
    }
  }
}

TEST(ParseViewArgumentsTest, ReadsThePictureOptions) {
  ViewArguments arguments;
  std::string error;
  ASSERT_TRUE(parse({"m", "v", "p.SVG", "--slice", "z=1", "--log", "--clim=0.01,1e3", "--label",
                     "-log rho", "--size", "1200x900"},
                    arguments, error))
      << error;
  EXPECT_EQ(arguments.output, OutputKind::Picture);
  EXPECT_EQ(arguments.format, PictureFormat::Svg);
  EXPECT_TRUE(arguments.colours.logarithmic);
  EXPECT_TRUE(arguments.colours.limited);
  EXPECT_EQ(arguments.colours.low, 0.01);
  EXPECT_EQ(arguments.colours.high, 1000);
  EXPECT_EQ(arguments.label, "-log rho");
  EXPECT_EQ(arguments.width, 1200);
  EXPECT_EQ(arguments.height, 900);
  EXPECT_EQ(arguments.units, "m");
  EXPECT_FALSE(arguments.titleGiven);
  EXPECT_EQ(arguments.exaggeration, 0);
  ViewArguments plain;
  ASSERT_TRUE(parse({"m", "v", "p.pdf", "--slice=n=2", "--size=100X8000", "--units=", "--title", "",
                     "--exaggeration", "2.5"},
                    plain, error));
  EXPECT_EQ(plain.format, PictureFormat::Pdf);
  EXPECT_FALSE(plain.colours.logarithmic || plain.colours.limited);
  EXPECT_EQ(plain.units, "");
  EXPECT_TRUE(plain.titleGiven);
  EXPECT_EQ(plain.title, "");
  EXPECT_EQ(plain.exaggeration, 2.5);
  EXPECT_EQ(plain.width, 100);
  EXPECT_EQ(plain.height, 8000);
  EXPECT_FALSE(plain.eastingRange.given || plain.northingRange.given || plain.elevationRange.given);
  ViewArguments part;
  ASSERT_TRUE(parse({"m", "v", "p.png", "--slice=n=2", "--easting", "5e5,5.01e5",
                     "--elevation=-500,200", "--axis-units", "km"},
                    part, error))
      << error;
  EXPECT_TRUE(part.eastingRange.given && part.elevationRange.given);
  EXPECT_EQ(part.eastingRange.high, 501000);
  EXPECT_EQ(part.elevationRange.low, -500);
  EXPECT_EQ(part.units, "km");  // the axes' units, converted from metres
  EXPECT_EQ(part.axisScale, 0.001);
  ViewArguments back;
  ASSERT_TRUE(
      parse({"m", "v", "p.png", "--slice=z=2", "--units=km", "--axis-units=m"}, back, error));
  EXPECT_EQ(back.axisScale, 1000);
}

TEST(ParseViewArgumentsTest, TakesEveryWordAfterTheEndOfOptionsAsAName) {
  ViewArguments arguments;
  std::string error;
  ASSERT_TRUE(parse({"--slice", "z=1", "--", "-mesh", "--help", "-.png"}, arguments, error))
      << error;
  EXPECT_STREQ(arguments.meshName, "-mesh");
  EXPECT_STREQ(arguments.modelName, "--help");
  EXPECT_STREQ(arguments.outputName, "-.png");
  EXPECT_FALSE(arguments.help);
  ViewArguments fromInput;
  ASSERT_TRUE(parse({"m", "-", "o.vtr"}, fromInput, error)) << error;
  EXPECT_STREQ(fromInput.modelName, "-");
  EXPECT_FALSE(parse({"m", "v", "--", "o.png", "--slice", "z=1"}, arguments, error));
  EXPECT_NE(error.find("too many file names: --slice"), std::string::npos) << error;
}

TEST(ParseViewArgumentsTest, HelpWinsOverEverythingElse) {
  ViewArguments arguments;
  std::string error;
  ASSERT_TRUE(parse({"m", "--bogus", "--help"}, arguments, error));
  EXPECT_TRUE(arguments.help);
  ViewArguments alone;
  ASSERT_TRUE(parse({"-h"}, alone, error));
  EXPECT_TRUE(alone.help);
}

TEST(ParseViewArgumentsTest, RefusesWhatCannotBeUsed) {
  struct Case {
    std::vector<const char*> words;
    const char* error;
  };
  const Case cases[] = {
      {{}, "expected MESH MODEL OUTPUT"},
      {{"m", "v"}, "expected MESH MODEL OUTPUT"},
      {{"m", "v", "o.vtr", "x"}, "too many file names: x"},
      {{"m", "v", "o.txt"}, "must end in .vtr, .png, .svg or .pdf"},
      {{"m", "v", ".png", "--slice", "z=1"}, "must end in .vtr, .png, .svg or .pdf"},
      {{"m", "v", "o.png"}, "needs --slice"},
      {{"m", "v", "o.png", "--slice"}, "--slice needs a slice"},
      {{"m", "v", "o.png", "--slice", "z=1", "--slice", "z=2"}, "--slice given twice"},
      {{"m", "v", "o.vtr", "--slice", "z=1"}, "--slice is for a .png"},
      {{"m", "v", "o.png", "--width", "9"}, "unknown option --width"},
      {{"m", "v", "o.png", "--slice", "x=1"}, "--slice x=1: expected"},
      {{"m", "v", "o.png", "--slice", "z="}, "--slice z=: expected"},
      {{"m", "v", "o.png", "--slice", "z=1.5"}, "--slice z=1.5: expected"},
      {{"m", "v", "o.png", "--slice", "z=+1"}, "--slice z=+1: expected"},
      {{"m", "v", "o.png", "--slice", "z@nan"}, "--slice z@nan: expected"},
      {{"m", "v", "o.png", "--slice", "z@inf"}, "--slice z@inf: expected"},
      {{"m", "v", "o.png", "--slice", "z@1m"}, "--slice z@1m: expected"},
      {{"m", "v", "o.vtr", "--log"}, "--log is for a .png, .svg or .pdf picture"},
      {{"m", "v", "o.vtr", "--size", "900x600"}, "--size is for a .png"},
      {{"m", "v", "o.png", "--slice", "z=1", "--label"}, "--label needs a text"},
      {{"m", "v", "o.png", "--slice", "z=1", "--size=200x200", "--size=300x300"},
       "--size given twice"},
      {{"m", "v", "o.png", "--slice", "z=1", "--clim", "5,1"}, "--clim 5,1: expected LO,HI"},
      {{"m", "v", "o.png", "--slice", "z=1", "--clim", "1"}, "--clim 1: expected LO,HI"},
      {{"m", "v", "o.png", "--slice", "z=1", "--clim", "0,inf"}, "--clim 0,inf: expected"},
      {{"m", "v", "o.png", "--slice", "z=1", "--clim", "1,2,"}, "--clim 1,2,: expected"},
      {{"m", "v", "o.png", "--slice", "z=1", "--clim", "0,10", "--log"},
       "--clim 0,10: a logarithmic scale needs LO above 0"},
      {{"m", "v", "o.png", "--slice", "z=1", "--size", "99x500"}, "--size 99x500: expected WxH"},
      {{"m", "v", "o.png", "--slice", "z=1", "--size", "800*600"}, "--size 800*600: expected"},
      {{"m", "v", "o.png", "--slice", "z=1", "--size", "8001x600"}, "--size 8001x600: expected"},
      {{"m", "v", "o.png", "--slice", "z=1", "--exaggeration", "0"},
       "--exaggeration 0: expected a number from 0.001 to 1000 (1 is true scale)"},
      {{"m", "v", "o.png", "--slice", "z=1", "--exaggeration", "2x"}, "--exaggeration 2x"},
      {{"m", "v", "o.png", "--slice", "z=1", "--exaggeration", "nan"}, "--exaggeration nan"},
      {{"m", "v", "o.vtr", "--title", "t"}, "--title is for a .png"},
      {{"m", "v", "o.vtr", "--units", "km"}, "--units is for a .png"},
      {{"m", "v", "o.vtr", "--elevation", "0,1"}, "--elevation is for a .png"},
      {{"m", "v", "o.png", "--slice", "e=1", "--easting", "0,1"},
       "--easting: a slice across easting shows no range of easting"},
      {{"m", "v", "o.png", "--slice", "z=1", "--northing", "1,0"},
       "--northing 1,0: expected LO,HI"},
      {{"m", "v", "o.png", "--slice", "z=1", "--axis-units", "mi"},
       "--axis-units mi: expected m or km"},
      {{"m", "v", "o.png", "--slice", "z=1", "--units", "ft", "--axis-units", "km"},
       "--axis-units km: the mesh's units (--units 'ft') are not m or km"},
  };
  for (const Case& c : cases) {
    ViewArguments arguments;
    std::string error;
    EXPECT_FALSE(parse(c.words, arguments, error)) << c.error;
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
  }
}

}  // namespace
