#pragma once
// The cartographic style that a polyline keeps in its extended data (application "ZORTA"): a hatch
// specification behind "*H=" or a symbol specification behind "*I=", in the first text item that begins
// with either (without regard to case). Only that item counts, so an entity has one style at most.
#include <string>

class AcDbEntity;

struct CartoStyle {
    std::string hatch;   // behind "*H=", 8-bit text; empty when none
    std::string symbols; // behind "*I="
};

CartoStyle readCartoStyle(const AcDbEntity& entity);
