#include "installation_generator.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "platform/text.h"
#include "splitmix64.h"
#include "xml/phys_prop_parser.h"

namespace kxt::bench {
namespace {

namespace fs = std::filesystem;

// A file written through one growing buffer that is flushed in large blocks.
class OutputFile {
 public:
  explicit OutputFile(const fs::path& path) : path_(path) {
    fs::create_directories(path.parent_path());
    file_.open(path, std::ios::binary | std::ios::trunc);
    if (!file_) throw std::runtime_error("cannot write " + path.string());
    buffer_.reserve(kFlushAt + 64 * 1024);
  }

  OutputFile& operator<<(std::string_view text) {
    buffer_.append(text);
    if (buffer_.size() >= kFlushAt) Flush();
    return *this;
  }

  OutputFile& operator<<(char c) {
    buffer_.push_back(c);
    return *this;
  }

  OutputFile& operator<<(std::size_t number) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    return *this << std::string_view(digits, static_cast<std::size_t>(end - digits));
  }

  // `text` as XML character data or attribute text (always quoted with ").
  OutputFile& Escaped(std::string_view text) {
    for (char c : text) {
      switch (c) {
        case '&': buffer_.append("&amp;"); break;
        case '<': buffer_.append("&lt;"); break;
        case '>': buffer_.append("&gt;"); break;
        case '"': buffer_.append("&quot;"); break;
        default: buffer_.push_back(c);
      }
    }
    return *this;
  }

  // A number in the shortest general form that keeps `digits` significant digits.
  OutputFile& Number(double value, int digits) {
    char text[40];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, digits).ptr;
    return *this << std::string_view(text, static_cast<std::size_t>(end - text));
  }

  // Writes what is left and closes the file; returns the file's size.
  std::uintmax_t Close() {
    Flush();
    file_.close();
    if (!file_) throw std::runtime_error("cannot write " + path_.string());
    return written_;
  }

 private:
  static constexpr std::size_t kFlushAt = std::size_t{1} << 20;

  void Flush() {
    file_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    if (!file_) throw std::runtime_error("cannot write " + path_.string());
    written_ += buffer_.size();
    buffer_.clear();
  }

  fs::path path_;
  std::ofstream file_;
  std::string buffer_;
  std::uintmax_t written_ = 0;
};

// The class names of the standard library are the resource module's texts,
// so that a loaded installation shows them as the host would.
constexpr std::array<std::string_view, 26> kClassNames = {
    "Steel", "Iron", "Aluminium Alloys", "Copper Alloys", "Titanium Alloys", "Zinc Alloys",
    "Other Alloys", "Plastics", "Other Non-metals", "Woods", "Rubber", "Silicones", "Glasses",
    "Ceramics", "Nickel Alloys", "Cast Iron", "Copper", "Alloy Steel", "Tool Steel",
    "Structural Steel", "Carbon Steel", "Magnesium Alloys", "Lead Alloys", "Cobalt Alloys",
    "Tin Alloys", "Stainless Steel"};

// Category of each class above, written as the process file's group comment.
constexpr std::array<std::string_view, 26> kClassCategories = {
    "metals", "metals", "metals", "metals", "metals", "metals", "metals", "plastics",
    "non-metals", "non-metals", "plastics", "plastics", "non-metals", "non-metals", "metals",
    "metals", "metals", "metals", "metals", "metals", "metals", "metals", "metals", "metals",
    "metals", "metals"};

// Short bases keep a name at 30 characters or fewer; long names add a
// qualifier and a treatment, which always take them past 30.
constexpr std::array<std::string_view, 12> kBases = {
    "Stahl", "Acier trempé", "Gußeisen", "Messing", "Bronze", "Kupfer & Zinn",
    "Titan Ω", "Polyamid", "Glas", "Holz & Kork", "Gummi", "Laiton"};
constexpr std::array<std::string_view, 6> kQualifiers = {
    "Hochfester", "Korrosionsbeständiger", "Précontraint", "Wärmebehandelter", "Kaltgewalzter",
    "Structural grade"};
constexpr std::array<std::string_view, 6> kTreatments = {
    "nach Güteklasse B", "recuit à cœur", "für Außenbereich", "Ω-resistant finish",
    "& powder coated", "Typ Überdruck"};

struct PropertyKind {
  std::string_view abbreviation;
  std::string_view display_name;
  std::string_view units;
  double low;
  double high;
};

constexpr std::array<PropertyKind, kPropertiesPerMaterial> kProperties = {{
    {"DENS", "Mass density", "kg/m^3", 800, 9000},
    {"EX", "Elastic modulus", "N/m^2", 1e9, 2.2e11},
    {"NUXY", "Poisson's ratio", "N/A", 0.2, 0.45},
    {"GXY", "Shear modulus", "N/m^2", 5e8, 8e10},
    {"SIGXT", "Tensile strength", "N/m^2", 1e7, 1.5e9},
    {"SIGYLD", "Yield strength", "N/m^2", 5e6, 1.2e9},
    {"SIGC", "Compressive strength", "N/m^2", 1e7, 2e9},
    {"ALPX", "Thermal expansion coefficient", "/K", 1e-6, 3e-5},
    {"KX", "Thermal conductivity", "W/(m.K)", 0.1, 400},
    {"C", "Specific heat", "J/(kg.K)", 100, 2000},
}};

constexpr std::array<std::string_view, 4> kCostUnits = {"USD/kg", "EUR/kg", "USD/lb", "EUR/g"};

struct ProcessKind {
  std::string_view key;
  std::string_view english_name;
};

// The keys of the process name map with their English texts, less "none"
// and "custom", which no real material lists as a manufacturing process.
constexpr std::array<ProcessKind, 19> kProcesses = {{
    {"milled_part", "Milled"}, {"milled", "Milled"}, {"turned_part", "Turned"},
    {"turned", "Turned"}, {"forged_part", "Forged"}, {"die_cast_part", "Die Cast"},
    {"die_cast", "Die Cast"}, {"sand_cast_part", "Sand Cast"},
    {"stnd_mach_scast", "Machined Sand Cast"}, {"sheet_part", "Sheet Metal"},
    {"stamped_sheet", "Stamped Sheet"}, {"extrusion", "Extruded"},
    {"inj_molded", "Injection Molded"}, {"forged", "Forged"},
    {"mach_sand_cast", "Machined Sand Cast"}, {"sand_cast", "Sand Cast"}, {"sheet", "Sheet Metal"},
    {"injection_mold", "Injection Molded"}, {"wire", "Wire"},
}};

struct Material {
  std::string name;
  std::string id;
};

struct Library {
  std::vector<std::string> class_names;
  std::vector<std::size_t> class_begin;  // first material of each class, plus the end
  std::vector<Material> materials;
};

// Independent streams per file, so that a change to one file's layout does
// not reshuffle the others.
SplitMix64 Stream(std::uint64_t seed, std::uint64_t file) {
  SplitMix64 mix(seed ^ (file * 0xD1B54A32D192ED03ull));
  return SplitMix64(mix.Next());
}

std::string PaddedNumber(std::size_t number, std::size_t width) {
  std::string digits = std::to_string(number);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

// The i-th name of a library: two in five are longer than 30 characters.
// The number at the end keeps names unique, and unique after shortening.
std::string MaterialName(SplitMix64& rng, char prefix, std::size_t index) {
  std::string name;
  const bool is_long = index % 5 < 2;
  if (is_long) name.append(kQualifiers[rng.Below(kQualifiers.size())]).push_back(' ');
  name.append(kBases[rng.Below(kBases.size())]).push_back(' ');
  if (is_long) name.append(kTreatments[rng.Below(kTreatments.size())]).push_back(' ');
  name.push_back(prefix);
  name.append(PaddedNumber(index + 1, 6));
  return name;
}

std::string ClassName(std::string_view prefix, std::size_t index) {
  std::string name(prefix);
  name.append(kClassNames[index % kClassNames.size()]);
  if (index >= kClassNames.size()) name.append(" ").append(std::to_string(index / kClassNames.size() + 1));
  return name;
}

Library MakeLibrary(SplitMix64& rng, std::size_t materials, std::size_t classes, std::string_view class_prefix,
                    char name_prefix, std::string_view id_prefix) {
  Library library;
  classes = std::max<std::size_t>(classes, 1);
  for (std::size_t k = 0; k < classes; ++k) {
    library.class_names.push_back(ClassName(class_prefix, k));
    library.class_begin.push_back(k * materials / classes);
  }
  library.class_begin.push_back(materials);
  library.materials.reserve(materials);
  for (std::size_t i = 0; i < materials; ++i) {
    Material material{MaterialName(rng, name_prefix, i), std::string(id_prefix)};
    material.id.append(PaddedNumber(i + 1, 5));
    library.materials.push_back(std::move(material));
  }
  return library;
}

void WriteMaterialBody(OutputFile& file, SplitMix64& rng) {
  file << "      <physicalproperties>\n";
  for (const PropertyKind& kind : kProperties) {
    file << "        <" << kind.abbreviation << " displayname=\"" << kind.display_name << "\" value=\"";
    file.Number(rng.Between(kind.low, kind.high), 6) << "\" units=\"" << kind.units << "\"/>\n";
  }
  file << "      </physicalproperties>\n"
       << "      <custom>\n"
       << "        <prop name=\"Supplier\" value=\"Supplier " << rng.Below(500) << "\"/>\n"
       << "        <prop name=\"Financial Impact\" value=\"";
  file.Number(rng.Between(0.5, 80.0), 4) << "\" units=\"" << kCostUnits[rng.Below(kCostUnits.size())] << "\"/>\n"
                                         << "      </custom>\n";
}

// One library file. `link` writes the sustainability element of material i
// (or nothing).
template <typename LinkWriter>
std::uintmax_t WriteLibrary(const fs::path& path, const Library& library, SplitMix64& rng, LinkWriter&& link) {
  OutputFile file(path);
  file << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<materials version=\"2008\">\n";
  for (std::size_t k = 0; k < library.class_names.size(); ++k) {
    file << "  <classification name=\"";
    file.Escaped(library.class_names[k]) << "\">\n";
    for (std::size_t i = library.class_begin[k]; i < library.class_begin[k + 1]; ++i) {
      const Material& material = library.materials[i];
      file << "    <material name=\"";
      file.Escaped(material.name) << "\" matid=\"" << material.id << "\" envdata=\""
                                  << (rng.Below(4) == 0 ? "1" : "true") << "\" description=\"";
      file.Escaped(material.name) << "\">\n";
      WriteMaterialBody(file, rng);
      link(file, i);
      file << "    </material>\n";
    }
    file << "  </classification>\n";
  }
  file << "</materials>\n";
  return file.Close();
}

// The value-bearing child sits on the same line as its parameter, so that the
// parameter's first child node is the element with whitespace kept or not.
void WriteValueParameter(OutputFile& file, std::string_view indent, std::string_view name, double value) {
  file << indent << "<Parameter Name=\"" << name << "\"><Value Default=\"";
  file.Number(value, 5) << "\"/></Parameter>\n";
}

// The process settings file names a standard material as the library reader
// names it for the environmental data set.
std::string GabiName(const std::string& name) {
  return platform::Utf16ToUtf8(xml::ShortenedGabiName(platform::Utf8ToUtf16(name)));
}

std::uintmax_t WriteProcessSettings(const fs::path& path, const Library& standard, SplitMix64& rng) {
  OutputFile file(path);
  file << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ScenarioSettings>\n"
       << "  <Grouping Alias=\"Default settings\">\n"
       << "    <Parameter Name=\"transport_km\" Alias=\"Transport\"><Value Default=\"100\"/></Parameter>\n"
       << "  </Grouping>\n"
       << "  <Grouping Alias=\"Material specific settings\">\n";
  std::array<std::size_t, kProcesses.size()> order;
  for (std::size_t k = 0; k < standard.class_names.size(); ++k) {
    file << "    <Grouping Alias=\"";
    file.Escaped(standard.class_names[k]) << "\" Comment=\"" << kClassCategories[k % kClassCategories.size()]
                                          << "\">\n";
    for (std::size_t i = standard.class_begin[k]; i < standard.class_begin[k + 1]; ++i) {
      file << "      <Grouping Alias=\"";
      file.Escaped(GabiName(standard.materials[i].name)) << "\">\n";
      // Three distinct processes: the head of a partial shuffle.
      for (std::size_t p = 0; p < order.size(); ++p) order[p] = p;
      for (std::size_t p = 0; p < kProcessesPerMaterial; ++p) {
        std::swap(order[p], order[p + rng.Below(order.size() - p)]);
        const ProcessKind& process = kProcesses[order[p]];
        file << "        <Parameter Name=\"" << process.key << "\" Alias=\"" << process.english_name << "\"/>\n";
      }
      const double minimum = static_cast<double>(rng.Below(30));
      const double maximum = minimum + 10.0 + static_cast<double>(rng.Below(60));
      file << "        <Parameter Name=\"recycled_cont\" Alias=\"recycled_cont\" MaxValue=\"";
      file.Number(maximum, 5) << "\" MinValue=\"";
      file.Number(minimum, 5) << "\"><Value Default=\"";
      file.Number(rng.Between(minimum, maximum), 4) << "\"/></Parameter>\n";
      for (std::size_t p = 0; p < kProcessesPerMaterial; ++p) {
        file << "        <Grouping Alias=\"" << kProcesses[order[p]].key << "_mfg_params\">\n";
        WriteValueParameter(file, "          ", "energy_per_kg", rng.Between(0.1, 50.0));
        WriteValueParameter(file, "          ", "scrap_rate", rng.Between(0.0, 0.4));
        WriteValueParameter(file, "          ", "machine_load", rng.Between(0.2, 1.0));
        file << "        </Grouping>\n";
      }
      file << "      </Grouping>\n";
    }
    file << "    </Grouping>\n";
  }
  file << "  </Grouping>\n</ScenarioSettings>\n";
  return file.Close();
}

std::uintmax_t WriteDinMapper(const fs::path& path, const Library& din, const Library& standard, SplitMix64& rng) {
  OutputFile file(path);
  if (standard.materials.empty()) return file.Close();
  for (const Material& material : din.materials) {
    file << material.id << ' ' << standard.materials[rng.Below(standard.materials.size())].id << '\n';
  }
  return file.Close();
}

std::string AsciiUpper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// Half the favourites name standard materials, a fifth DIN materials and the
// rest custom materials; some are written in capitals or with a third field,
// as the host may store them.
std::uintmax_t WriteRegistry(const fs::path& path, std::size_t count, const Library& standard, const Library& din,
                             const Library& custom, SplitMix64& rng) {
  OutputFile file(path);
  char key_number[8];
  const auto end = std::to_chars(key_number, key_number + sizeof key_number, 1992 + kHostVersion).ptr;
  file << "Windows Registry Editor Version 5.00\r\n\r\n"
       << "[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex "
       << std::string_view(key_number, static_cast<std::size_t>(end - key_number)) << "\\Material]\r\n";
  char hex[9];
  const auto hex_end = std::to_chars(hex, hex + sizeof hex, count, 16).ptr;
  const std::string_view hex_text(hex, static_cast<std::size_t>(hex_end - hex));
  file << "\"__NumOfFavs\"=dword:" << std::string(8 - hex_text.size(), '0') << hex_text << "\r\n";
  std::string value;
  for (std::size_t f = 0; f < count; ++f) {
    const std::size_t kind = f % 10;
    const Library* library = &standard;
    std::string_view library_name = "korvex materials";
    if (kind >= 5 && kind < 7 && !din.materials.empty()) {
      library = &din;
      library_name = "korvex din materials";
    } else if (kind >= 7 && !custom.materials.empty()) {
      library = &custom;
      library_name = kCustomLibraryName;
    }
    std::string name = library->materials[rng.Below(library->materials.size())].name;
    if (f % 7 == 3) name = AsciiUpper(std::move(name));
    value.assign(library_name).append("|").append(name);
    if (f % 13 == 5) value.append("|pinned");
    file << "\"_FavMaterial" << (f + 1) << "\"=\"";
    for (char c : value) {
      if (c == '\\' || c == '"') file << '\\';
      file << c;
    }
    file << "\"\r\n";
  }
  return file.Close();
}

}  // namespace

InstallationSummary WriteInstallation(const InstallationSpec& layout, const fs::path& out) {
  InstallationSummary summary;
  const std::size_t n = layout.materials;
  const std::size_t minor_classes = std::max<std::size_t>(1, layout.classes / 10);

  SplitMix64 names = Stream(layout.seed, 1);
  const Library standard = MakeLibrary(names, n, layout.classes, "", 'S', "M");
  const Library din = MakeLibrary(names, n / 10, minor_classes, "", 'D', "1.");
  const Library extras = MakeLibrary(names, n / 10, minor_classes, "Sustainable ", 'X', "X");
  const Library custom = MakeLibrary(names, n / 2, minor_classes, "Custom ", 'C', "C");

  SplitMix64 standard_rng = Stream(layout.seed, 2);
  auto no_link = [](OutputFile&, std::size_t) {};
  summary.bytes_written += WriteLibrary(out / kStandardLibraryFile, standard, standard_rng, no_link);
  SplitMix64 din_rng = Stream(layout.seed, 3);
  summary.bytes_written += WriteLibrary(out / kDinLibraryFile, din, din_rng, no_link);
  SplitMix64 extras_rng = Stream(layout.seed, 4);
  summary.bytes_written += WriteLibrary(out / kExtrasLibraryFile, extras, extras_rng, no_link);
  fs::create_directories((out / kUserExtrasLibraryFile).parent_path());
  fs::copy_file(out / kExtrasLibraryFile, out / kUserExtrasLibraryFile, fs::copy_options::overwrite_existing);

  // Custom materials link alternately to a standard material by identifier and
  // to an extras material by name.
  SplitMix64 custom_rng = Stream(layout.seed, 5);
  SplitMix64 link_rng = Stream(layout.seed, 6);
  auto link = [&](OutputFile& file, std::size_t i) {
    const bool to_extras = i % 2 == 1 && !extras.materials.empty();
    if (to_extras) {
      file << "      <sustainability linkId=\"";
      file.Escaped(extras.materials[link_rng.Below(extras.materials.size())].name)
          << " in Sustainability Extras\" dbName=\"Sustainability Extras\"/>\n";
      ++summary.links_to_extras;
    } else if (!standard.materials.empty()) {
      file << "      <sustainability linkId=\"" << standard.materials[link_rng.Below(n)].id
           << "\" dbName=\"korvex materials\"/>\n";
      ++summary.links_to_standard;
    }
  };
  summary.bytes_written += WriteLibrary(out / kCustomLibraryFile, custom, custom_rng, link);

  SplitMix64 mapper_rng = Stream(layout.seed, 7);
  summary.bytes_written += WriteDinMapper(out / kDinMapperFile, din, standard, mapper_rng);
  SplitMix64 process_rng = Stream(layout.seed, 8);
  summary.bytes_written += WriteProcessSettings(out / kProcessSettingsFile, standard, process_rng);
  SplitMix64 registry_rng = Stream(layout.seed, 9);
  summary.favourites = standard.materials.empty() ? 0 : kFavourites;
  summary.bytes_written += WriteRegistry(out / kRegistryFile, summary.favourites, standard, din, custom, registry_rng);

  summary.standard_materials = standard.materials.size();
  summary.standard_classes = standard.class_names.size();
  summary.din_materials = din.materials.size();
  summary.extras_materials = extras.materials.size();
  summary.custom_materials = custom.materials.size();
  return summary;
}

}  // namespace kxt::bench
