#!/usr/bin/env bash
# Fails when a file includes a header of a higher layer. Layers, bottom up: platform; geometry and services
# (the general library); host; cadutil; entity; plugin. The editor program sits beside the plug-in over the
# library, and nothing includes it. Geometry takes from services only the output routing (printing, and for
# the matrices the progress meter) and the variable block, and for the projections' data files the services
# their definition names: the string utilities, the parts of a path, the local folder and the box shown once
# per process.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

allowed() {
    case $1 in
    platform) echo "platform" ;;
    geometry) echo "platform geometry" ;;
    services) echo "platform geometry services" ;;
    host) echo "platform host" ;;
    cadutil) echo "platform geometry services host cadutil" ;;
    entity) echo "platform geometry services host cadutil entity" ;;
    plugin) echo "platform geometry services host cadutil entity plugin" ;;
    editor) echo "platform geometry services editor" ;;
    esac
}
geometry_exceptions=" services/output/output.h services/startup/fvar.h services/str/str.h services/dos/dos.h 
    services/settings/folders.h services/output/message_boxes.h services/output/progress_meter.h "

faults=0
for layer in platform geometry services host cadutil entity plugin editor; do
    [ -d "$layer" ] || continue
    permitted=" $(allowed "$layer") "
    while IFS=: read -r file line header; do
        top=${header%%/*}
        if [[ $header == ../* || $header == */../* ]]; then
            echo "$file:$line: \"$header\" climbs folders; name the header from the repository root" >&2
            faults=$((faults + 1))
            continue
        fi
        [[ $permitted == *" $top "* ]] && continue
        [[ $layer == geometry && $geometry_exceptions == *" $header "* ]] && continue
        # Only the project's own layers count; anything else is not a layer.
        [[ " platform geometry services host cadutil entity plugin editor " == *" $top "* ]] || continue
        echo "$file:$line: $layer/ includes \"$header\" of a higher layer" >&2
        faults=$((faults + 1))
    done < <(grep -rnoE --include='*.cpp' --include='*.h' '^\s*#\s*include\s+"[^"]+"' "$layer" |
        sed -E 's/:\s*#\s*include\s+"([^"]+)"$/:\1/')
done
if ((faults)); then
    echo "check_layers: $faults include(s) from a lower layer to a higher one" >&2
    exit 1
fi
echo "check_layers: every include points down"
