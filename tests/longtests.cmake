# Read by CTest after the discovered tests are declared: the core tests that
# run other processes for seconds get a cost, so they start among the first.
foreach(test IN LISTS core_tests_TESTS)
  if(test MATCHES "^(Crash|TwoDesks)\\.")
    set_tests_properties("${test}" PROPERTIES COST 200)
  endif()
endforeach()
