# The programs built from the libraries. Included at the end of the top-level CMakeLists.txt, when
# every library target exists.

# zamlo, the tray program: a thin main over every library of the tray program.
add_executable(zamlo shell/main.cpp)
set(ZAMLO_BIBLIOTHEKEN shell menus data plenwork categories booking users)
foreach(bibliothek ${ZAMLO_BIBLIOTHEKEN})
  if(TARGET ${bibliothek})
    target_link_libraries(zamlo PRIVATE ${bibliothek})
  endif()
endforeach()
target_link_libraries(zamlo PRIVATE velmark_warnings)
# The program folder is complete once zamlo is built (runtime files and the stand-in main program).
add_dependencies(zamlo programmordner kvasto)

# What a release ships: the program folder without the designer plugin, and velmark-daten, which
# the installation needs for the first shared data file and the settings.
add_custom_target(auslieferung DEPENDS zamlo update kvasto Download programmordner velmark-daten)
