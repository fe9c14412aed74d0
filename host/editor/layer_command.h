#pragma once
// -LAYER, the command-line form of the layer manager: Créer (make a layer and set it current), Etablir (set
// current), Nouveau (new layers), ACtiver / DESactiver (on, off), COuleur, TYpeligne, Geler / LIbérer
// (freeze, thaw), VErrouiller / DEVerrouiller (lock, unlock). Layer lists are names separated by commas,
// each of which may be a wild-card pattern ("MUR*"). Options repeat until Enter.
namespace host {

void layerCommand();

} // namespace host
