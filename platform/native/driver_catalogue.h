// The printer models a driver catalogue offers: an INF file such as C:\WINNT\inf\ntprint.inf.
// What is read of it is what real INF files share:
//
//   [Manufacturer]
//   "HP"                        ; the models lie in the section named like the maker
//   %LEXMARK% = LexmarkModels   ; or in the section named after "=" (decorated ones too:
//                               ; "= Lex, NTx86" also reads [Lex.NTx86])
//   [HP]
//   "HP LaserJet 4000 Series PCL" = HPLJ4000.PPD, LPTENUM\HEWLETT-PACKARDLA8E42
//   [LexmarkModels]
//   %OPTRA_E% = LEXOPTE.PPD     ; a %name% is looked up in [Strings]
//   [Strings]
//   OPTRA_E = "Lexmark Optra E+ (MS)"
//
// Section names compare without regard to case; ';' starts a comment outside quotes; a line
// ending in '\' continues on the next; the file is ANSI, or UTF-16LE after the bytes FF FE.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Every model of every manufacturer, in the file's order.
std::vector<std::string> catalogueModels(std::string_view infBytes);

// The model as the catalogue spells it, when it lists `model` (compared without regard to case).
std::optional<std::string> findCatalogueModel(std::string_view infBytes, const std::string& model);

// A catalogue offering `models`, in the form above, for the tools that build machines: one
// manufacturer section per first word of the models ("HP", "Lexmark").
std::string driverCatalogueText(const std::vector<std::string>& models);

}  // namespace platform
