# rvp_add_card_test(<name> <slot> <sources...> [LIBRARIES <libs...>])
#
# Adds a GoogleTest program that uses the card bench, registered with ctest under <name>.
# <slot> is 0, 1 or both: the vpcd slot(s) the tests put cards into. Tests holding the same slot
# never run at the same time (RESOURCE_LOCK vpcd_slot<N>). The program links rvp_cardbench and
# gtest_main; add more with LIBRARIES.
#
# rvp_add_card_test_run(<test> <slot> <command> [args...])
#
# Registers one more ctest run of a card program (e.g. one test of it with --gtest_filter), holding
# the slot(s) the same way.
include_guard(GLOBAL)

function(_rvp_card_test_properties test slot)
  if(slot STREQUAL "both")
    set(locks vpcd_slot0 vpcd_slot1)
  elseif(slot STREQUAL "0" OR slot STREQUAL "1")
    set(locks vpcd_slot${slot})
  else()
    message(FATAL_ERROR "card test ${test}: slot must be 0, 1 or both, not '${slot}'")
  endif()
  set_tests_properties(${test} PROPERTIES RESOURCE_LOCK "${locks}" LABELS card TIMEOUT 300)
endfunction()

function(rvp_add_card_test name slot)
  cmake_parse_arguments(CARD "" "" "LIBRARIES" ${ARGN})
  add_executable(${name} ${CARD_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE rvp_cardbench GTest::gtest_main ${CARD_LIBRARIES})
  add_test(NAME ${name} COMMAND ${name})
  _rvp_card_test_properties(${name} ${slot})
endfunction()

function(rvp_add_card_test_run test slot)
  add_test(NAME ${test} COMMAND ${ARGN})
  _rvp_card_test_properties(${test} ${slot})
endfunction()
