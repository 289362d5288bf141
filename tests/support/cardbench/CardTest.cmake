# rvp_add_card_test(<name> <slot> <sources...> [LIBRARIES <libs...>])
#
# Adds a GoogleTest program that uses the card bench, registered with ctest under <name>.
# <slot> is 0, 1 or both: the vpcd slot(s) the tests put cards into. Tests holding the same slot
# never run at the same time (RESOURCE_LOCK vpcd_slot<N>). The program links rvp_cardbench and
# gtest_main; add more with LIBRARIES.
include_guard(GLOBAL)

function(rvp_add_card_test name slot)
  cmake_parse_arguments(CARD "" "" "LIBRARIES" ${ARGN})
  if(slot STREQUAL "both")
    set(locks vpcd_slot0 vpcd_slot1)
  elseif(slot STREQUAL "0" OR slot STREQUAL "1")
    set(locks vpcd_slot${slot})
  else()
    message(FATAL_ERROR "rvp_add_card_test(${name}): slot must be 0, 1 or both, not '${slot}'")
  endif()
  add_executable(${name} ${CARD_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE rvp_cardbench GTest::gtest_main ${CARD_LIBRARIES})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${locks}" LABELS card TIMEOUT 300)
endfunction()
