# The editor side of the host: documents, commands, prompts and the input queue, selections, jigs, reactors,
# applications and the LISP.
target_sources(host PRIVATE
    build_list.cpp
    command_line.cpp
    database_insert.cpp
    documents.cpp
    dynamic_linker.cpp
    editor_checks.cpp
    editor_reset.cpp
    editor_variables.cpp
    entity_lists.cpp
    entity_refs.cpp
    find_file.cpp
    host_commands.cpp
    input_queue.cpp
    jig.cpp
    keywords.cpp
    lisp_eval.cpp
    lisp_functions.cpp
    lisp_symbols.cpp
    lisp_text.cpp
    lisp_value.cpp
    menus.cpp
    message_box.cpp
    osnap.cpp
    prompt_input.cpp
    prompts.cpp
    script_line.cpp
    selection_filter.cpp
    selection_sets.cpp
    ssget.cpp
    text_numbers.cpp
    ucs.cpp
    wildcard.cpp
    win_msg_filter.cpp
)
