// Enumerations shared by the exported classes of the module.
#pragma once

// The kind of library a database was read from.
enum eKxtMaterialBDType : int {
    eKxtNativeDB = 0,         // the standard library
    eKxtNativeDinDB = 1,      // the DIN library
    eKxtCustomDB = 2,         // a custom library configured by the user
    eKxtSustainExtrasDB = 3,  // a sustainability extras library
};

// The mass unit a material cost refers to.
enum eKxtMassUnits : int {
    eKxtMilligram = 0,
    eKxtGram = 1,
    eKxtKilogram = 2,
    eKxtPound = 3,
};

// The kind of library a material was taken from. Only eKxtCustomMaterial
// changes behaviour: such a material takes its language names from its
// database unless that is a sustainability extras database.
enum eKxtMaterialType : int {
    eKxtStandardMaterial = 0,
    eKxtDinMaterial = 1,
    eKxtCustomMaterial = 2,
};
