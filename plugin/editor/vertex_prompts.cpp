// The tangency letters, the vertex code and the properties prompt of the form keywords.
#include "plugin/editor/vertex_prompts.h"

#include <string>

#include "cadutil/command_line/print.h"
#include "cadutil/command_line/prompt_defaults.h"
#include "cadutil/resbuf/text_convert.h"
#include "entity/core/poly_arc3d.h"
#include "host/input/prompts.h"
#include "plugin/editor/default_width.h"

namespace {

constexpr int kGenerated = 1;
constexpr int kTangentWanted = 2;
constexpr int kTangentRefused = 4;
constexpr int kNoEmptyInput = 4;

std::wstring wide(const char* text) {
    return codePageToWide(text);
}

// "<prompt> <%4.f> " and a real read into `value`; RTNORM when a number was given.
int askReal(const char* format, double* value) {
    char prompt[160];
    std::snprintf(prompt, sizeof prompt, format, *value);
    ads_real typed = 0;
    const int rc = acedGetReal(wide(prompt).c_str(), &typed);
    if (rc == RTNORM) *value = typed;
    return rc;
}

} // namespace

void applyTangency(int letter, P_Vertex* vertex) {
    if (!vertex) return;
    const bool hard = vertex->dur() != 0;
    auto& flags = vertex->flags;
    switch (letter) {
    case 'A':
        if (hard) flags = static_cast<short>(flags & ~(kTangentWanted | kTangentRefused));
        break;
    case 'B':
        if (!hard) flags = static_cast<short>(flags | kGenerated | kTangentWanted);
        break;
    case 'D':
        if (!hard) flags = static_cast<short>(flags & ~kTangentWanted);
        break;
    case 'N':
        if (hard) flags = static_cast<short>((flags & ~kTangentWanted) | kTangentRefused);
        break;
    case 'O':
        if (hard) flags = static_cast<short>((flags & ~kTangentRefused) | kTangentWanted);
        break;
    default:
        break;
    }
}

short askVertexCode(short current) {
    const int kind =
        getIntOrKeyword(current & 0xFF,
                        "\n/Normal /Talus-interieur /Ecriture /Orient.hach. /Desabille /Raboute "
                        "(Tef Fort) ",
                        "Norma0 Ecrit1 Talus2 raBat3 Orien4 Desha5 Rabou5 _ Norma0 Text1 Embank2 "
                        "Rabat3 Orien4 unHatch5 Join6");
    const int qualifier = getIntOrKeyword(
        (current >> 8) & 0xFF,
        "\n/Normal /Cach\xe9 /Masque_fort /Autre_m /Fictif /Impreci /ICache /Zinvalide (Tef Faible)",
        "Norma0 Cache1 Masqu2 Autre3 Ficti4 Impre5 ICach6 Zinvalid7 _ Norma0 Cover1 Mask2 Other3 "
        "Ficti4 Impre5 ICover6 Zinvalid7");
    const short code = static_cast<short>((kind & 0xFF) | ((qualifier & 0xFF) << 8));
    P_Vertex probe(0);
    cmdprintf("\n ***** TEFS :%d,%d = %s", kind, qualifier, probe.tefascii(code));
    return code;
}

int editProperties(AcDbObjectId id, int& count) {
    count = 0;
    acedInitGet(kNoEmptyInput, wide("Oui$$O Non$$N AngleA BloquB DebloD SaisiS LargeL TecheT _ Yes$$O No$$$N "
                                    "AngleA BlockB UnbloD SmootS WidthL TscalT")
                                   .c_str());
    ACHAR answer[64] = {};
    if (acedGetKword(wide("\ntangeance : /Oui/Non/Angle ; pt lissage : /Bloque/Debloque ; /Saisie_angle_maxi "
                          ";/Largeur_defaut;/Tscale")
                         .c_str(),
                     answer, sizeof answer / sizeof *answer) != RTNORM ||
        !answer[0])
        return -1;
    count = 1;
    const int letter = static_cast<int>(std::wstring(answer).back());
    if (letter == 'L') {
        askDefaultWidth(id);
        return -1;
    }
    if (letter != 'S' && letter != 'T') return letter;
    CPolyArc3D* entity = nullptr;
    if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) return -1;
    double value = letter == 'S' ? entity->f43() : entity->linetypeScale();
    entity->close();
    const int rc = askReal(letter == 'S' ? "\nAngle maxi de lissage desire (aucune rupture) <%4.f> Grades "
                                         : "\nEchelle Typeligne <%4.f> ",
                           &value);
    if (rc == RTNORM && acdbOpenObject(entity, id, AcDb::kForWrite) == Acad::eOk) {
        if (letter == 'S')
            entity->f43(value);
        else
            entity->setLinetypeScale(value);
        entity->close();
    }
    cmdprintf(letter == 'S' ? " Angle maxi de lissage =%.4f Grades " : " Echelle Typeligne  =%.4f  ", value);
    return -1;
}
